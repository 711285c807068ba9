#include <cstring>
#include <vector>

#include "audio_length.h"
#include "byte_order.h"
#include "id3v2_header.h"

namespace {

// Junk between the ID3v2 tag and the first frame is searched this far.
const std::uint64_t kFrameSearchLimit = 64 * 1024;
const std::size_t kWindowSize = 64 * 1024;

struct FrameHeader {
    std::uint32_t sampleRate = 0;
    std::uint32_t samples = 0;
    std::uint32_t length = 0;
    // Where a Xing or "Info" header would start: after the header and the side information.
    std::uint32_t xingOffset = 0;
};

// Sync, version, layer and sample rate stay the same from frame to frame.
const std::uint32_t kStreamBits = 0xFFFE0C00;

// Layer III only; no free-format bit rates.
bool ParseFrameHeader(std::uint32_t bits, FrameHeader& frame) {
    static const unsigned short kMpeg1Kbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                                  112, 128, 160, 192, 224, 256, 320, 0};
    static const unsigned short kMpeg2Kbps[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                                  64, 80, 96, 112, 128, 144, 160, 0};
    static const std::uint32_t kRates[3] = {44100, 48000, 32000};
    const unsigned version = bits >> 19 & 3;  // 0: MPEG 2.5, 2: MPEG 2, 3: MPEG 1
    const unsigned layer = bits >> 17 & 3;
    const unsigned bitrateIndex = bits >> 12 & 15;
    const unsigned rateIndex = bits >> 10 & 3;
    if ((bits & 0xFFE00000) != 0xFFE00000 || version == 1 || layer != 1 || rateIndex == 3)
        return false;
    const bool mpeg1 = version == 3;
    const std::uint32_t kbps = (mpeg1 ? kMpeg1Kbps : kMpeg2Kbps)[bitrateIndex];
    if (kbps == 0)
        return false;
    const bool mono = (bits >> 6 & 3) == 3;
    frame.sampleRate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    frame.samples = mpeg1 ? 1152 : 576;
    frame.length = (mpeg1 ? 144 : 72) * kbps * 1000 / frame.sampleRate + (bits >> 9 & 1);
    frame.xingOffset = 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    return true;
}

// Reads the file through one window, so walking thousands of frames takes a
// few large reads.
class WindowReader {
public:
    explicit WindowReader(ByteSource& file) : m_file(file), m_window(kWindowSize) {}

    std::uint64_t Size() const { return m_file.Size(); }

    // The `count` (at most kWindowSize) bytes at `offset`, or null when the
    // file does not hold them all.
    const unsigned char* At(std::uint64_t offset, std::size_t count) {
        if (offset >= m_start && offset - m_start <= m_filled &&
            count <= m_filled - (offset - m_start))
            return m_window.data() + (offset - m_start);
        if (count > kWindowSize || !FitsWithin(offset, count, m_file.Size()))
            return nullptr;
        const std::uint64_t rest = m_file.Size() - offset;
        m_start = offset;
        m_filled = rest < kWindowSize ? static_cast<std::size_t>(rest) : kWindowSize;
        if (!m_file.ReadAt(offset, m_window.data(), m_filled)) {
            m_filled = 0;
            return nullptr;
        }
        return m_window.data();
    }

private:
    ByteSource& m_file;
    std::vector<unsigned char> m_window;
    std::uint64_t m_start = 0;
    std::size_t m_filled = 0;
};

bool FrameAt(WindowReader& reader, std::uint64_t offset, FrameHeader& frame, std::uint32_t& bits) {
    const unsigned char* bytes = reader.At(offset, 4);
    if (bytes == nullptr)
        return false;
    bits = BigEndian32(bytes);
    return ParseFrameHeader(bits, frame);
}

// The first frame at or after `start`. One right at `start` is taken as it
// is; one found further on must be followed by a frame of the same stream.
bool FindFirstFrame(WindowReader& reader, std::uint64_t start, std::uint64_t& offset,
                    FrameHeader& frame, std::uint32_t& bits) {
    for (std::uint64_t pos = start; pos - start < kFrameSearchLimit; ++pos) {
        const unsigned char* bytes = reader.At(pos, 4);
        if (bytes == nullptr)
            return false;
        if (bytes[0] != 0xFF || !FrameAt(reader, pos, frame, bits))
            continue;
        FrameHeader next;
        std::uint32_t nextBits = 0;
        if (pos == start || (FrameAt(reader, pos + frame.length, next, nextBits) &&
                             (nextBits & kStreamBits) == (bits & kStreamBits))) {
            offset = pos;
            return true;
        }
    }
    return false;
}

struct XingInfo {
    std::uint32_t frames = 0;  // 0: not given
    std::uint32_t delay = 0;
    std::uint32_t padding = 0;
};

// A Xing or "Info" header: its flags say which of the frame count, byte
// count, seek table and quality follow. A LAME tag may come after them.
bool ParseXing(const unsigned char* frame, std::size_t length, std::size_t pos, XingInfo& xing) {
    if (pos + 8 > length ||
        (std::memcmp(frame + pos, "Xing", 4) != 0 && std::memcmp(frame + pos, "Info", 4) != 0))
        return false;
    const std::uint32_t flags = BigEndian32(frame + pos + 4);
    pos += 8;
    if (flags & 1) {
        if (pos + 4 > length)
            return false;
        xing.frames = BigEndian32(frame + pos);
        pos += 4;
    }
    pos += (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
    // The LAME tag: a 9-character version, then the encoder delay and the
    // padding as two 12-bit numbers at bytes 21 to 23.
    if (pos + 24 <= length &&
        (std::memcmp(frame + pos, "LAME", 4) == 0 || std::memcmp(frame + pos, "L3.99", 5) == 0)) {
        const unsigned char* delays = frame + pos + 21;
        xing.delay = static_cast<std::uint32_t>(delays[0]) << 4 | delays[1] >> 4;
        xing.padding = static_cast<std::uint32_t>(delays[1] & 0x0F) << 8 | delays[2];
    }
    return true;
}

}  // namespace

bool ReadMp3Length(ByteSource& file, AudioLength& length) {
    length = AudioLength();
    std::uint64_t start = 0;
    if (!SkipId3v2Tag(file, start))
        return false;
    WindowReader reader(file);
    std::uint64_t pos = 0;
    FrameHeader first;
    std::uint32_t firstBits = 0;
    if (!FindFirstFrame(reader, start, pos, first, firstBits))
        return false;

    XingInfo xing;
    const unsigned char* frame = reader.At(pos, first.length);
    const bool hasXing = frame != nullptr && ParseXing(frame, first.length, first.xingOffset, xing);
    if (hasXing)
        pos += first.length;
    // The frames that are there: an encoder cut short leaves a Xing count
    // that the bytes after it do not back.
    std::uint64_t frames = 0;
    FrameHeader next;
    std::uint32_t bits = 0;
    while (FrameAt(reader, pos, next, bits) && (bits & kStreamBits) == (firstBits & kStreamBits) &&
           FitsWithin(pos, next.length, reader.Size())) {
        ++frames;
        pos += next.length;
    }
    if (frames == 0)
        return false;  // not one whole audio frame
    // The count may or may not take in the Xing frame itself.
    if (xing.frames != 0 && xing.frames <= frames + 1)
        frames = xing.frames;
    const std::uint64_t samples = frames * first.samples;
    const std::uint64_t skipped = static_cast<std::uint64_t>(xing.delay) + xing.padding;
    length.samples = samples > skipped ? samples - skipped : 0;
    length.sampleRate = first.sampleRate;
    return true;
}
