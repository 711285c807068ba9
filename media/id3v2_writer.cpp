#include "id3v2_writer.h"

#include <cstring>
#include <string>
#include <vector>

#include "byte_order.h"
#include "id3v1_tag.h"
#include "id3v2_existing_tag.h"
#include "id3v2_frames.h"
#include "id3v2_header.h"

namespace {

// The tag's size is a 28-bit number.
const std::uint32_t kMaxTagBodySize = 0x0FFFFFFF;
// An existing tag larger than this is left alone rather than held in memory.
const std::uint64_t kMaxExistingTagSize = 32 * 1024 * 1024;
const std::size_t kCopyChunkSize = 64 * 1024;

const int kFrontCover = 3;

// The tag under construction: the frames' bytes and the identities they hold.
struct TagBody {
    std::string bytes;
    std::vector<FrameIdentity> present;
};

// Appends the frame unless the tag already holds one of its identity or it
// would make the tag too large. True when it was appended.
bool AddFrame(const Id3v2Frame& frame, TagBody& body) {
    const std::string& payload = frame.payload;
    if (IsPresent(body.present, frame.identity) || payload.size() > kMaxTagBodySize - 10 ||
        body.bytes.size() > kMaxTagBodySize - 10 - payload.size())
        return false;
    unsigned char header[10] = {};
    std::memcpy(header, frame.identity.data(), 4);
    PutBigEndian32(static_cast<std::uint32_t>(payload.size()), header + 4);
    body.bytes.append(reinterpret_cast<const char*>(header), sizeof header);
    body.bytes += payload;
    body.present.push_back(frame.identity);
    return true;
}

// Adds the frames of a text item the tag does not hold yet. True when any
// was added.
bool AddText(const TextTag& text, TagBody& body) {
    const FrameIdentity item = ItemIdentity(text);
    if (IsPresent(body.present, item))
        return false;
    bool added = false;
    for (const Id3v2Frame& frame : TextFrames(text))
        added = AddFrame(frame, body) || added;
    body.present.push_back(item);
    return added;
}

// The picture's file name, or its type's name where it has none, made unique
// among the descriptions of the tag's pictures by a number.
std::string UniqueDescription(const PictureTag& picture, const TagBody& body) {
    const std::string name = !picture.fileName.empty()            ? picture.fileName
                             : picture.pictureType == kFrontCover ? "Front Cover"
                                                                  : "Back Cover";
    std::string description = name;
    for (int n = 2; IsPresent(body.present, PictureDescriptionIdentity(description)); ++n)
        description = name + " (" + std::to_string(n) + ")";
    return description;
}

bool AddPicture(const PictureTag& picture, TagBody& body) {
    const std::string description = UniqueDescription(picture, body);
    if (!AddFrame(PictureFrame(picture, description), body))
        return false;
    body.present.push_back(PictureDescriptionIdentity(description));
    return true;
}

bool CopyRest(ByteSource& mp3, std::uint64_t offset, ByteSink& out) {
    std::string chunk(kCopyChunkSize, '\0');
    const std::uint64_t size = mp3.Size();
    while (offset < size) {
        const std::size_t count = size - offset < kCopyChunkSize
                                      ? static_cast<std::size_t>(size - offset)
                                      : kCopyChunkSize;
        if (!mp3.ReadAt(offset, &chunk[0], count) || !out.Write(chunk.data(), count))
            return false;
        offset += count;
    }
    return true;
}

}  // namespace

TagCopy WriteTaggedMp3(ByteSource& mp3, const SourceTags& tags, ByteSink& out) {
    Id3v2Header existing;
    const Id3v2Start start = ReadId3v2Header(mp3, existing);
    if (start == Id3v2Start::Damaged)
        return TagCopy::Unchanged;
    TagBody body;
    std::uint64_t audioOffset = 0;
    if (start == Id3v2Start::Tag) {
        if (existing.majorVersion != 3 || existing.flags != 0 ||
            existing.bodySize > kMaxExistingTagSize)
            return TagCopy::Unchanged;
        body.bytes.resize(existing.bodySize);
        std::size_t framesSize = 0;
        if (!mp3.ReadAt(10, &body.bytes[0], body.bytes.size()))
            return TagCopy::Failed;
        if (!ReadExistingFrames(body.bytes, framesSize, body.present))
            return TagCopy::Unchanged;
        body.bytes.resize(framesSize);
        audioOffset = existing.tagSize;
    }

    // The encoder's ID3v1 tag, after the ID3v2 tag, stays as it is, and its
    // fields go first, so that readers that look only at ID3v2 show them too.
    std::vector<TextTag> encoderFields;
    if (mp3.Size() - audioOffset >= kId3v1TagSize)
        ReadId3v1Tag(mp3, encoderFields);
    for (const TextTag& text : encoderFields)
        AddText(text, body);
    bool added = false;
    for (const TextTag& text : tags.texts)
        added = AddText(text, body) || added;
    for (const PictureTag& picture : tags.pictures) {
        if (picture.pictureType == kFrontCover)
            added = AddPicture(picture, body) || added;
    }
    for (const PictureTag& picture : tags.pictures) {
        if (picture.pictureType != kFrontCover)
            added = AddPicture(picture, body) || added;
    }
    if (!added)
        return TagCopy::Unchanged;

    unsigned char header[10] = {'I', 'D', '3', 3, 0, 0};
    for (int i = 0; i < 4; ++i)
        header[6 + i] = static_cast<unsigned char>(body.bytes.size() >> (21 - 7 * i) & 0x7F);
    if (!out.Write(header, sizeof header) || !out.Write(body.bytes.data(), body.bytes.size()) ||
        !CopyRest(mp3, audioOffset, out))
        return TagCopy::Failed;
    return TagCopy::Written;
}
