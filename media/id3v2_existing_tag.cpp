#include "id3v2_existing_tag.h"

#include <cstring>

#include "byte_order.h"
#include "text_encoding.h"

namespace {

// More frames are left alone rather than searched.
const std::size_t kMaxExistingFrames = 1024;

const unsigned char kLatin1 = 0;
const unsigned char kUtf16 = 1;

// Reads a string in `encoding` that a NUL ends, from `pos`, moving `pos` past
// the NUL. False when no NUL ends it.
bool ReadTerminatedString(const unsigned char* data, std::size_t size, std::size_t& pos,
                          unsigned char encoding, std::string& utf8) {
    if (encoding == kLatin1) {
        const void* nul = pos < size ? std::memchr(data + pos, 0, size - pos) : nullptr;
        if (nul == nullptr)
            return false;
        const std::size_t end = static_cast<const unsigned char*>(nul) - data;
        utf8 = Latin1ToUtf8(reinterpret_cast<const char*>(data + pos), end - pos);
        pos = end + 1;
        return true;
    }
    std::size_t end = pos;
    while (end + 1 < size && (data[end] != 0 || data[end + 1] != 0))
        end += 2;
    if (end + 1 >= size)
        return false;
    std::size_t start = pos;
    bool bigEndian = false;
    if (end - start >= 2 && ((data[start] == 0xFE && data[start + 1] == 0xFF) ||
                             (data[start] == 0xFF && data[start + 1] == 0xFE))) {
        bigEndian = data[start] == 0xFE;
        start += 2;
    }
    utf8 = Utf16ToUtf8(data + start, end - start, bigEndian);
    pos = end + 2;
    return true;
}

// Adds the identities of a frame to `present`. False when its payload cannot
// be read.
bool IdentifyFrame(const char* id, const unsigned char* payload, std::size_t size,
                   std::vector<FrameIdentity>& present) {
    const FrameIdentity frameId(id, 4);
    const bool hasLanguage = frameId == "COMM" || frameId == "USLT";
    const bool described = hasLanguage || frameId == "TXXX";
    if (!described && frameId != "APIC") {
        present.push_back(frameId);
        return true;
    }
    if (size < 1 || payload[0] > kUtf16)
        return false;
    std::size_t pos = hasLanguage ? 4 : 1;
    std::string text;
    if (pos > size ||
        !ReadTerminatedString(payload, size, pos, described ? payload[0] : kLatin1, text))
        return false;
    if (described) {
        present.push_back(frameId + text);
        return true;
    }
    // The MIME type was read; the picture type and the description follow.
    if (pos >= size)
        return false;
    const unsigned char pictureType = payload[pos++];
    if (!ReadTerminatedString(payload, size, pos, payload[0], text))
        return false;
    present.push_back(PictureTypeIdentity(pictureType));
    present.push_back(PictureDescriptionIdentity(text));
    return true;
}

}  // namespace

// Frames: a 4-character ID, the payload size (32-bit big-endian), 2 bytes of
// flags, the payload.
bool ReadExistingFrames(const std::string& body, std::size_t& framesSize,
                        std::vector<FrameIdentity>& present) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(body.data());
    std::size_t pos = 0;
    std::size_t frames = 0;
    while (body.size() - pos >= 10 && bytes[pos] != 0) {
        for (int i = 0; i < 4; ++i) {
            const unsigned char c = bytes[pos + i];
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return false;
        }
        const std::uint32_t size = BigEndian32(bytes + pos + 4);
        // Compressed, encrypted or grouped: the payload cannot be read as it is.
        if ((bytes[pos + 9] & 0xE0) != 0 || size > body.size() - pos - 10 ||
            ++frames > kMaxExistingFrames)
            return false;
        if (!IdentifyFrame(body.data() + pos, bytes + pos + 10, size, present))
            return false;
        pos += 10 + size;
    }
    framesSize = pos;
    for (; pos < body.size(); ++pos) {
        if (bytes[pos] != 0)
            return false;
    }
    return true;
}
