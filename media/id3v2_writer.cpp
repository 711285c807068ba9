#include "id3v2_writer.h"

#include <cstring>
#include <vector>

#include "byte_order.h"
#include "id3v2_header.h"
#include "text_encoding.h"

namespace {

// The tag's size is a 28-bit number.
const std::uint32_t kMaxTagBodySize = 0x0FFFFFFF;
// An existing tag larger than this, or with more frames, is left alone
// rather than held in memory and searched.
const std::uint64_t kMaxExistingTagSize = 32 * 1024 * 1024;
const std::size_t kMaxExistingFrames = 1024;
const std::size_t kCopyChunkSize = 64 * 1024;

const unsigned char kLatin1 = 0;
const unsigned char kUtf16 = 1;

// What the tag must not hold twice: the frame ID, followed for TXXX and COMM
// frames by the description, for APIC frames by the picture type in hex.
// Frame IDs are capitals and digits, so letter case matters only in
// descriptions.
using FrameIdentity = std::string;

FrameIdentity PictureIdentity(unsigned char pictureType) {
    const char* const kHex = "0123456789ABCDEF";
    return FrameIdentity("APIC") + kHex[pictureType >> 4] + kHex[pictureType & 15];
}

bool IsPresent(const std::vector<FrameIdentity>& present, const FrameIdentity& identity) {
    for (const FrameIdentity& frame : present) {
        if (EqualIgnoringAsciiCase(frame, identity))
            return true;
    }
    return false;
}

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

// The identity of a frame of an existing tag. False when its payload cannot be read.
bool IdentifyFrame(const char* id, const unsigned char* payload, std::size_t size,
                   FrameIdentity& identity) {
    identity.assign(id, 4);
    const bool described = identity == "TXXX" || identity == "COMM";
    if (!described && identity != "APIC")
        return true;
    if (size < 1 || payload[0] > kUtf16)
        return false;
    std::size_t pos = identity == "COMM" ? 4 : 1;
    std::string text;
    if (pos > size ||
        !ReadTerminatedString(payload, size, pos, described ? payload[0] : kLatin1, text))
        return false;
    if (described) {
        identity += text;
        return true;
    }
    if (pos >= size)
        return false;
    identity = PictureIdentity(payload[pos]);
    return true;
}

// Frames: a 4-character ID, the payload size (32-bit big-endian), 2 bytes of
// flags, the payload. Padding (zero bytes) may follow the last frame.
// `framesSize` is where the frames end. False for anything not read safely.
bool ReadExistingFrames(const std::string& body, std::size_t& framesSize,
                        std::vector<FrameIdentity>& present) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(body.data());
    std::size_t pos = 0;
    while (body.size() - pos >= 10 && bytes[pos] != 0) {
        for (int i = 0; i < 4; ++i) {
            const unsigned char c = bytes[pos + i];
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return false;
        }
        const std::uint32_t size = BigEndian32(bytes + pos + 4);
        // Compressed, encrypted or grouped: the payload cannot be read as it is.
        if ((bytes[pos + 9] & 0xE0) != 0 || size > body.size() - pos - 10 ||
            present.size() >= kMaxExistingFrames)
            return false;
        FrameIdentity identity;
        if (!IdentifyFrame(body.data() + pos, bytes + pos + 10, size, identity))
            return false;
        present.push_back(identity);
        pos += 10 + size;
    }
    framesSize = pos;
    for (; pos < body.size(); ++pos) {
        if (bytes[pos] != 0)
            return false;
    }
    return true;
}

bool FitsLatin1(const std::string& utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (NextCodePoint(utf8, pos) > 0xFF)
            return false;
    }
    return true;
}

// Latin-1 when every character of the description and the values fits in it.
unsigned char ChooseEncoding(const std::string& description,
                             const std::vector<std::string>& values) {
    bool fits = FitsLatin1(description);
    for (const std::string& value : values)
        fits = fits && FitsLatin1(value);
    return fits ? kLatin1 : kUtf16;
}

void AppendEncoded(const std::string& utf8, unsigned char encoding, std::string& payload) {
    if (encoding == kUtf16)
        payload += "\xFF\xFE";
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::uint32_t c = NextCodePoint(utf8, pos);
        if (encoding == kLatin1) {
            payload += static_cast<char>(c);
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            const std::uint32_t high = 0xD800 | c >> 10;
            payload += static_cast<char>(high & 0xFF);
            payload += static_cast<char>(high >> 8);
            c = 0xDC00 | (c & 0x3FF);
        }
        payload += static_cast<char>(c & 0xFF);
        payload += static_cast<char>(c >> 8);
    }
}

void AppendTerminator(unsigned char encoding, std::string& payload) {
    payload.append(encoding == kUtf16 ? 2 : 1, '\0');
}

const char* MappedFrameId(const std::string& key) {
    static const char* const kMappings[][2] = {
        {"Title", "TIT2"},   {"Artist", "TPE1"},  {"Album", "TALB"}, {"Album Artist", "TPE2"},
        {"Year", "TYER"},    {"Track", "TRCK"},   {"Disc", "TPOS"},  {"Genre", "TCON"},
        {"Comment", "COMM"}, {"Composer", "TCOM"}};
    for (const auto& mapping : kMappings) {
        if (EqualIgnoringAsciiCase(key, mapping[0]))
            return mapping[1];
    }
    return "TXXX";
}

// The payload of the frame for `text`: the encoding, the language of a COMM
// frame, the description of TXXX and COMM frames, the values separated by NULs.
std::string TextFramePayload(const std::string& id, const TextTag& text) {
    const bool isComment = id == "COMM";
    const std::string description = id == "TXXX" ? text.key : std::string();
    const unsigned char encoding = ChooseEncoding(description, text.values);
    std::string payload(1, static_cast<char>(encoding));
    if (isComment)
        payload += "eng";
    if (isComment || id == "TXXX") {
        AppendEncoded(description, encoding, payload);
        AppendTerminator(encoding, payload);
    }
    for (std::size_t i = 0; i < text.values.size(); ++i) {
        if (i > 0)
            AppendTerminator(encoding, payload);
        AppendEncoded(text.values[i], encoding, payload);
    }
    return payload;
}

// Latin-1 encoding, the MIME type, the picture type, an empty description, the bytes.
std::string PictureFramePayload(const PictureTag& picture) {
    std::string payload(1, static_cast<char>(kLatin1));
    payload += picture.mimeType;
    payload += '\0';
    payload += static_cast<char>(picture.pictureType);
    payload += '\0';
    payload += picture.data;
    return payload;
}

// Appends the frame unless the tag already holds one of its identity or it
// would make the tag too large.
void AddFrame(const FrameIdentity& identity, const std::string& payload,
              std::vector<FrameIdentity>& present, std::string& body) {
    if (IsPresent(present, identity) || payload.size() > kMaxTagBodySize - 10 ||
        body.size() > kMaxTagBodySize - 10 - payload.size())
        return;
    unsigned char header[10] = {};
    std::memcpy(header, identity.data(), 4);
    PutBigEndian32(static_cast<std::uint32_t>(payload.size()), header + 4);
    body.append(reinterpret_cast<const char*>(header), sizeof header);
    body += payload;
    present.push_back(identity);
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
    std::string body;
    std::vector<FrameIdentity> present;
    std::uint64_t audioOffset = 0;
    if (start == Id3v2Start::Tag) {
        if (existing.majorVersion != 3 || existing.flags != 0 ||
            existing.bodySize > kMaxExistingTagSize)
            return TagCopy::Unchanged;
        body.resize(existing.bodySize);
        std::size_t framesSize = 0;
        if (!mp3.ReadAt(10, &body[0], body.size()))
            return TagCopy::Failed;
        if (!ReadExistingFrames(body, framesSize, present))
            return TagCopy::Unchanged;
        body.resize(framesSize);
        audioOffset = existing.tagSize;
    }

    const std::size_t existingFramesSize = body.size();
    for (const TextTag& text : tags.texts) {
        if (text.values.empty())
            continue;
        const std::string id = MappedFrameId(text.key);
        AddFrame(id == "TXXX" ? id + text.key : id, TextFramePayload(id, text), present, body);
    }
    for (const PictureTag& picture : tags.pictures) {
        AddFrame(PictureIdentity(static_cast<unsigned char>(picture.pictureType)),
                 PictureFramePayload(picture), present, body);
    }
    if (body.size() == existingFramesSize)
        return TagCopy::Unchanged;

    unsigned char header[10] = {'I', 'D', '3', 3, 0, 0};
    for (int i = 0; i < 4; ++i)
        header[6 + i] = static_cast<unsigned char>(body.size() >> (21 - 7 * i) & 0x7F);
    if (!out.Write(header, sizeof header) || !out.Write(body.data(), body.size()) ||
        !CopyRest(mp3, audioOffset, out))
        return TagCopy::Failed;
    return TagCopy::Written;
}
