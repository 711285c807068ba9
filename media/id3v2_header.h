#pragma once

#include <cstdint>

#include "byte_source.h"

enum class Id3v2Start { None, Tag, Damaged };

struct Id3v2Header {
    int majorVersion = 0;
    int flags = 0;
    // The bytes after the 10-byte header (frames and padding), the header's
    // size field.
    std::uint32_t bodySize = 0;
    // The whole tag: header, body and the footer a version 2.4 tag may have.
    std::uint64_t tagSize = 0;
};

// Looks for an ID3v2 tag at the start of `file`. Damaged: it starts with
// "ID3" but its header is malformed or the tag does not fit in the file.
Id3v2Start ReadId3v2Header(ByteSource& file, Id3v2Header& header);

// Where the stream after an ID3v2 tag at the start of `file` begins: 0 when
// there is none. False when that tag is damaged.
bool SkipId3v2Tag(ByteSource& file, std::uint64_t& streamStart);
