#include "source_tags.h"

#include <cstring>

#include "byte_order.h"
#include "id3v1_tag.h"
#include "text_encoding.h"

namespace {

const std::uint64_t kApeFooterSize = 32;
// Larger tags are not read: their pictures would take too much of a 32-bit
// program's memory, several times over on their way into the MP3.
const std::uint64_t kMaxApeTagSize = 32 * 1024 * 1024;
// Real tags hold a few dozen items; each new key is compared with every key
// before it.
const std::uint32_t kMaxApeItems = 512;

// An item whose key came before replaces it, as the common readers have it.
void RemoveText(const std::string& key, SourceTags& tags) {
    for (std::size_t i = 0; i < tags.texts.size(); ++i) {
        if (EqualIgnoringAsciiCase(tags.texts[i].key, key)) {
            tags.texts.erase(tags.texts.begin() + i);
            return;
        }
    }
}

void RemovePicture(int pictureType, SourceTags& tags) {
    for (std::size_t i = 0; i < tags.pictures.size(); ++i) {
        if (tags.pictures[i].pictureType == pictureType) {
            tags.pictures.erase(tags.pictures.begin() + i);
            return;
        }
    }
}

// Null when the bytes are none of the picture formats players show.
const char* PictureMimeType(const char* data, std::size_t size) {
    struct Signature {
        const char* bytes;
        std::size_t length;
        const char* mimeType;
    };
    static const Signature kSignatures[] = {{"\xFF\xD8\xFF", 3, "image/jpeg"},
                                            {"\x89PNG\r\n\x1A\n", 8, "image/png"},
                                            {"GIF87a", 6, "image/gif"},
                                            {"GIF89a", 6, "image/gif"},
                                            {"BM", 2, "image/bmp"}};
    for (const Signature& signature : kSignatures) {
        if (size >= signature.length && std::memcmp(data, signature.bytes, signature.length) == 0)
            return signature.mimeType;
    }
    return nullptr;
}

void AddTextItem(const std::string& key, const char* value, std::size_t size, SourceTags& tags) {
    RemoveText(key, tags);
    tags.texts.emplace_back();
    TextTag& text = tags.texts.back();
    text.key = key;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || value[i] == '\0') {
            if (i > start)
                text.values.emplace_back(value + start, i - start);
            start = i + 1;
        }
    }
    if (text.values.empty())
        tags.texts.pop_back();
}

// The value: a file name, a NUL, then the picture's bytes.
void AddPictureItem(int pictureType, const char* value, std::size_t size, SourceTags& tags) {
    RemovePicture(pictureType, tags);
    const char* end = static_cast<const char*>(std::memchr(value, '\0', size));
    if (end == nullptr)
        return;
    const char* data = end + 1;
    const std::size_t dataSize = size - (data - value);
    const char* mimeType = PictureMimeType(data, dataSize);
    if (mimeType == nullptr)
        return;
    tags.pictures.emplace_back();
    PictureTag& picture = tags.pictures.back();
    picture.pictureType = pictureType;
    picture.mimeType = mimeType;
    picture.data.assign(data, dataSize);
    picture.fileName.assign(value, end);
}

// Items: the value's size and flags (4 bytes each, little-endian), the key
// (printable ASCII, 2 to 255 characters, NUL-terminated), the value.
void ParseApeItems(const std::string& items, std::uint32_t count, SourceTags& tags) {
    std::size_t pos = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (items.size() - pos < 8) {
            tags.damage = TagDamage::Damaged;
            return;
        }
        const unsigned char* head = reinterpret_cast<const unsigned char*>(items.data() + pos);
        const std::uint32_t valueSize = LittleEndian32(head);
        const std::uint32_t itemType = LittleEndian32(head + 4) >> 1 & 3;
        const std::size_t keyStart = pos + 8;
        std::size_t keyEnd = keyStart;
        while (keyEnd < items.size() && keyEnd - keyStart <= 255 && items[keyEnd] >= 0x20 &&
               items[keyEnd] <= 0x7E)
            ++keyEnd;
        const std::size_t valueStart = keyEnd + 1;
        if (keyEnd >= items.size() || items[keyEnd] != '\0' || keyEnd - keyStart < 2 ||
            keyEnd - keyStart > 255 || valueSize > items.size() - valueStart) {
            tags.damage = TagDamage::Damaged;
            return;
        }
        const std::string key = items.substr(keyStart, keyEnd - keyStart);
        const char* value = items.data() + valueStart;
        if (itemType == 0)
            AddTextItem(key, value, valueSize, tags);
        else if (itemType == 1 && EqualIgnoringAsciiCase(key, "Cover Art (Front)"))
            AddPictureItem(3, value, valueSize, tags);
        else if (itemType == 1 && EqualIgnoringAsciiCase(key, "Cover Art (Back)"))
            AddPictureItem(4, value, valueSize, tags);
        pos = valueStart + valueSize;
    }
}

// The footer: "APETAGEX", the version, the tag's size without a header (items
// and footer), the item count, flags and 8 reserved bytes.
bool ReadApeTag(ByteSource& file, std::uint64_t footerEnd, SourceTags& tags) {
    unsigned char footer[kApeFooterSize];
    if (footerEnd < kApeFooterSize ||
        !file.ReadAt(footerEnd - kApeFooterSize, footer, sizeof footer) ||
        std::memcmp(footer, "APETAGEX", 8) != 0)
        return false;
    const std::uint32_t version = LittleEndian32(footer + 8);
    const std::uint32_t tagSize = LittleEndian32(footer + 12);
    const std::uint32_t count = LittleEndian32(footer + 16);
    if (tagSize > kMaxApeTagSize) {
        tags.damage = TagDamage::TooLarge;
        return true;
    }
    std::string items(tagSize >= kApeFooterSize ? tagSize - kApeFooterSize : 0, '\0');
    if ((version != 1000 && version != 2000) || tagSize < kApeFooterSize || tagSize > footerEnd ||
        !file.ReadAt(footerEnd - tagSize, &items[0], items.size())) {
        tags.damage = TagDamage::Damaged;
        return true;
    }
    if (count > kMaxApeItems)
        tags.damage = TagDamage::TooLarge;
    ParseApeItems(items, count < kMaxApeItems ? count : kMaxApeItems, tags);
    return true;
}

}  // namespace

bool ReadMusepackTags(ByteSource& file, SourceTags& tags) {
    tags = SourceTags();
    std::vector<TextTag> id3v1;
    const bool hasId3v1 = ReadId3v1Tag(file, id3v1);
    if (!ReadApeTag(file, file.Size(), tags) && hasId3v1)
        ReadApeTag(file, file.Size() - kId3v1TagSize, tags);
    if (tags.Empty() && tags.damage == TagDamage::None)
        tags.texts = id3v1;
    return !tags.Empty() || tags.damage != TagDamage::None;
}
