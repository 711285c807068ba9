#include <cstring>

#include "audio_length.h"
#include "byte_order.h"
#include "id3v2_header.h"

namespace {

const std::uint32_t kSampleRates[4] = {44100, 48000, 37800, 32000};
const std::uint64_t kFrameSamples = 1152;
// What the decoder leaves out at the start when the stream has no gapless
// information.
const std::uint64_t kSynthesisDelay = 481;
// A version 8 stream starts with its stream header; a few other packets
// before it are tolerated, more are taken for a damaged file.
const int kMaxPacketsBeforeStreamHeader = 16;

// Reads the variable-length number at `bytes[pos]` (7 bits a byte, the high
// bit set on all but the last byte, at most 9 bytes) and moves `pos` past it.
bool ReadVariableNumber(const unsigned char* bytes, std::size_t count, std::size_t& pos,
                        std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9 && pos < count; ++i) {
        const unsigned char byte = bytes[pos++];
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

bool ReadVersion7(ByteSource& file, std::uint64_t start, AudioLength& length) {
    unsigned char header[24];
    if (!file.ReadAt(start, header, sizeof header) || (header[3] & 0x0F) != 7)
        return false;
    const std::uint64_t frames = LittleEndian32(header + 4);
    const std::uint32_t gapless = LittleEndian32(header + 20);
    const std::uint64_t lastFrameSamples = gapless >> 20 & 0x7FF;
    if (frames == 0 || lastFrameSamples > kFrameSamples)
        return false;
    length.samples = frames * kFrameSamples;
    length.samples -= (gapless >> 31) != 0 ? kFrameSamples - lastFrameSamples : kSynthesisDelay;
    length.sampleRate = kSampleRates[LittleEndian32(header + 8) >> 16 & 3];
    return true;
}

// The stream header packet's payload: a checksum, the stream version, the
// sample count, the samples of silence at the start, then the sample rate.
bool ReadStreamHeader(const unsigned char* payload, std::size_t count, AudioLength& length) {
    std::size_t pos = 5;
    std::uint64_t samples = 0;
    std::uint64_t silence = 0;
    if (count < 5 || payload[4] != 8 || !ReadVariableNumber(payload, count, pos, samples) ||
        !ReadVariableNumber(payload, count, pos, silence) || pos >= count || silence > samples)
        return false;
    const int rateIndex = payload[pos] >> 5;
    if (rateIndex >= 4)
        return false;
    length.samples = samples - silence;
    length.sampleRate = kSampleRates[rateIndex];
    return true;
}

// Packets: a two-letter key, then the packet's size (key and size included)
// as a variable-length number, then the payload.
bool ReadVersion8(ByteSource& file, std::uint64_t start, AudioLength& length) {
    const std::uint64_t size = file.Size();
    std::uint64_t pos = start + 4;
    for (int packet = 0; packet < kMaxPacketsBeforeStreamHeader && pos < size; ++packet) {
        unsigned char head[11];
        const std::size_t headCount = size - pos < sizeof head ? size - pos : sizeof head;
        if (headCount < 3 || !file.ReadAt(pos, head, headCount))
            return false;
        for (int i = 0; i < 2; ++i) {
            if (head[i] < 'A' || head[i] > 'Z')
                return false;
        }
        std::size_t headLength = 2;
        std::uint64_t packetSize = 0;
        if (!ReadVariableNumber(head, headCount, headLength, packetSize) ||
            packetSize < headLength || packetSize > size - pos)
            return false;
        if (std::memcmp(head, "SH", 2) == 0) {
            unsigned char payload[32];
            const std::uint64_t payloadSize = packetSize - headLength;
            const std::size_t count = payloadSize < sizeof payload
                                          ? static_cast<std::size_t>(payloadSize)
                                          : sizeof payload;
            return file.ReadAt(pos + headLength, payload, count) &&
                   ReadStreamHeader(payload, count, length);
        }
        if (std::memcmp(head, "AP", 2) == 0 || std::memcmp(head, "SE", 2) == 0)
            return false;
        pos += packetSize;
    }
    return false;
}

}  // namespace

bool ReadMusepackLength(ByteSource& file, AudioLength& length) {
    length = AudioLength();
    std::uint64_t start = 0;
    if (!SkipId3v2Tag(file, start))
        return false;
    unsigned char magic[4];
    if (!file.ReadAt(start, magic, sizeof magic))
        return false;
    AudioLength found;
    bool ok = false;
    if (std::memcmp(magic, "MP+", 3) == 0)
        ok = ReadVersion7(file, start, found);
    else if (std::memcmp(magic, "MPCK", 4) == 0)
        ok = ReadVersion8(file, start, found);
    if (ok)
        length = found;
    return ok;
}
