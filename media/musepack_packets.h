#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_source.h"

// A version 8 Musepack stream ("MPCK") is a row of packets: a two-letter key,
// then the packet's size (key and size included) as a variable-length number,
// then the payload. The stream header ("SH") and the ReplayGain packet ("RG")
// come before the first audio packet ("AP").

// A version 8 stream starts with its headers; a few other packets before
// them are tolerated, more are taken for a damaged file.
const int kMaxPacketsBeforeAudio = 16;

struct MusepackPacket {
    char key[2] = {};
    std::uint64_t payloadOffset = 0;
    std::uint64_t payloadSize = 0;
    std::uint64_t nextOffset = 0;

    bool Is(const char* key2) const { return key[0] == key2[0] && key[1] == key2[1]; }
    // The audio, or the stream's end: no header comes after it.
    bool EndsHeaders() const { return Is("AP") || Is("SE"); }
};

// Reads the variable-length number at `bytes[pos]` (7 bits a byte, the high
// bit set on all but the last byte, at most 9 bytes) and moves `pos` past it.
bool ReadVariableNumber(const unsigned char* bytes, std::size_t count, std::size_t& pos,
                        std::uint64_t& value);

// The packet at `offset`; false when its key is not two capitals or it runs
// past the file.
bool ReadMusepackPacket(ByteSource& file, std::uint64_t offset, MusepackPacket& packet);
