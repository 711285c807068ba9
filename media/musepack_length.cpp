#include <cstring>

#include "audio_length.h"
#include "byte_order.h"
#include "id3v2_header.h"
#include "musepack_packets.h"

namespace {

const std::uint32_t kSampleRates[4] = {44100, 48000, 37800, 32000};
const std::uint64_t kFrameSamples = 1152;
// What the decoder leaves out at the start when the stream has no gapless
// information.
const std::uint64_t kSynthesisDelay = 481;

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

bool ReadVersion8(ByteSource& file, std::uint64_t start, AudioLength& length) {
    std::uint64_t pos = start + 4;
    MusepackPacket packet;
    for (int i = 0; i < kMaxPacketsBeforeAudio && ReadMusepackPacket(file, pos, packet); ++i) {
        if (packet.Is("SH")) {
            unsigned char payload[32];
            const std::size_t count = packet.payloadSize < sizeof payload
                                          ? static_cast<std::size_t>(packet.payloadSize)
                                          : sizeof payload;
            return file.ReadAt(packet.payloadOffset, payload, count) &&
                   ReadStreamHeader(payload, count, length);
        }
        if (packet.EndsHeaders())
            return false;
        pos = packet.nextOffset;
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
