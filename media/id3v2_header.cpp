#include "id3v2_header.h"

#include <cstring>

Id3v2Start ReadId3v2Header(ByteSource& file, Id3v2Header& header) {
    header = Id3v2Header();
    unsigned char bytes[10];
    if (!file.ReadAt(0, bytes, sizeof bytes) || std::memcmp(bytes, "ID3", 3) != 0)
        return Id3v2Start::None;
    if (bytes[3] == 0xFF || bytes[4] == 0xFF)
        return Id3v2Start::Damaged;
    std::uint32_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (bytes[i] & 0x80)
            return Id3v2Start::Damaged;
        size = size << 7 | bytes[i];
    }
    header.majorVersion = bytes[3];
    header.flags = bytes[5];
    header.bodySize = size;
    const bool hasFooter = header.majorVersion == 4 && (header.flags & 0x10) != 0;
    header.tagSize = 10 + static_cast<std::uint64_t>(size) + (hasFooter ? 10 : 0);
    return header.tagSize <= file.Size() ? Id3v2Start::Tag : Id3v2Start::Damaged;
}

bool SkipId3v2Tag(ByteSource& file, std::uint64_t& streamStart) {
    Id3v2Header header;
    const Id3v2Start tag = ReadId3v2Header(file, header);
    streamStart = tag == Id3v2Start::Tag ? header.tagSize : 0;
    return tag != Id3v2Start::Damaged;
}
