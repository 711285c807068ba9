#pragma once

#include <string>
#include <vector>

#include "byte_source.h"

// Values in UTF-8; several values of one item are all kept.
struct TextTag {
    std::string key;
    std::vector<std::string> values;
};

struct PictureTag {
    int pictureType = 0;  // 3 front cover, 4 back cover
    std::string mimeType;
    std::string data;
    std::string fileName;  // as the tag gives it, UTF-8; may be empty
};

// Why a tag that is there was not read whole.
enum class TagDamage {
    None,
    Damaged,   // malformed, or its bytes cannot be read
    TooLarge,  // over the reader's bounds (below)
};

struct SourceTags {
    std::vector<TextTag> texts;
    std::vector<PictureTag> pictures;
    TagDamage damage = TagDamage::None;

    bool Empty() const { return texts.empty() && pictures.empty(); }
};

// The tags of a Musepack file: the APE tag at its end (before an ID3v1 tag
// where one follows), or, where that gives nothing, the ID3v1 tag's fields
// as Title, Artist, Album, Year, Comment, Track and Genre. Keys are unique
// without letter case: the last item of a key wins, as the common readers
// have it. Text items become TextTags; "Cover Art (Front)" and "Cover Art
// (Back)" items holding a JPEG, PNG, GIF or BMP picture become PictureTags;
// other items are skipped. An item whose size runs past the tag ends the
// reading; the items before it are kept. APE tags over 32 MiB are not read,
// and of the others only the first 512 items. Whatever keeps a tag from
// being read whole is said in `damage`. False, and empty tags, when the
// file gives no tag.
bool ReadMusepackTags(ByteSource& file, SourceTags& tags);
