#include "id3v2_frames.h"

#include "text_encoding.h"

namespace {

const unsigned char kLatin1 = 0;
const unsigned char kUtf16 = 1;

bool FitsLatin1(const std::string& utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (NextCodePoint(utf8, pos) > 0xFF)
            return false;
    }
    return true;
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

// The encoding, then for COMM and USLT the language, for those and TXXX the
// description and its terminator, then the text.
Id3v2Frame MakeTextFrame(const std::string& id, const std::string& text,
                         const std::string& description = std::string()) {
    const bool hasLanguage = id == "COMM" || id == "USLT";
    const bool described = hasLanguage || id == "TXXX";
    const unsigned char encoding = FitsLatin1(description) && FitsLatin1(text) ? kLatin1 : kUtf16;
    Id3v2Frame frame{described ? id + description : id, std::string(1, encoding)};
    if (hasLanguage)
        frame.payload += "eng";
    if (described) {
        AppendEncoded(description, encoding, frame.payload);
        AppendTerminator(encoding, frame.payload);
    }
    AppendEncoded(text, encoding, frame.payload);
    return frame;
}

const char* MappedFrameId(const std::string& key) {
    static const char* const kMappings[][2] = {
        {"Title", "TIT2"},   {"Artist", "TPE1"}, {"Album", "TALB"},   {"Album Artist", "TPE2"},
        {"Year", "TYER"},    {"Track", "TRCK"},  {"Disc", "TPOS"},    {"Genre", "TCON"},
        {"Comment", "COMM"}, {"Lyrics", "USLT"}, {"Composer", "TCOM"}};
    for (const auto& mapping : kMappings) {
        if (EqualIgnoringAsciiCase(key, mapping[0]))
            return mapping[1];
    }
    return "TXXX";
}

bool AreDigits(const std::string& text, std::size_t pos, std::size_t count) {
    if (text.size() < pos + count)
        return false;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

// Two digits at `pos`, from `low` to `high`.
bool IsTwoDigitNumber(const std::string& text, std::size_t pos, int low, int high) {
    if (!AreDigits(text, pos, 2))
        return false;
    const int number = (text[pos] - '0') * 10 + (text[pos + 1] - '0');
    return number >= low && number <= high;
}

void AddYearFrames(const std::string& key, const std::string& year,
                   std::vector<Id3v2Frame>& frames) {
    const bool startsWithYear = AreDigits(year, 0, 4);
    if (startsWithYear)
        frames.push_back(MakeTextFrame("TYER", year.substr(0, 4)));
    if (startsWithYear && year.size() == 4)
        return;
    const bool isDate = startsWithYear && year.size() >= 10 && year[4] == '-' &&
                        IsTwoDigitNumber(year, 5, 1, 12) && year[7] == '-' &&
                        IsTwoDigitNumber(year, 8, 1, 31);
    const bool hasTime = isDate && year.size() >= 16 && year[10] == 'T' &&
                         IsTwoDigitNumber(year, 11, 0, 23) && year[13] == ':' &&
                         IsTwoDigitNumber(year, 14, 0, 59);
    const bool hasSeconds =
        hasTime && year.size() == 19 && year[16] == ':' && IsTwoDigitNumber(year, 17, 0, 59);
    if (isDate && (year.size() == 10 || (hasTime && (year.size() == 16 || hasSeconds)))) {
        frames.push_back(MakeTextFrame("TDAT", year.substr(8, 2) + year.substr(5, 2)));
        if (hasTime)
            frames.push_back(MakeTextFrame("TIME", year.substr(11, 2) + year.substr(14, 2)));
        return;
    }
    frames.push_back(MakeTextFrame("TXXX", year, key));
}

}  // namespace

bool IsPresent(const std::vector<FrameIdentity>& present, const FrameIdentity& identity) {
    for (const FrameIdentity& frame : present) {
        if (EqualIgnoringAsciiCase(frame, identity))
            return true;
    }
    return false;
}

FrameIdentity PictureTypeIdentity(unsigned char pictureType) {
    const char* const kHex = "0123456789ABCDEF";
    return FrameIdentity("APIC") + kHex[pictureType >> 4] + kHex[pictureType & 15];
}

FrameIdentity PictureDescriptionIdentity(const std::string& description) {
    return "APIC:" + description;
}

FrameIdentity ItemIdentity(const TextTag& text) {
    const std::string id = MappedFrameId(text.key);
    return id == "TXXX" ? id + text.key : id;
}

std::vector<Id3v2Frame> TextFrames(const TextTag& text) {
    std::vector<Id3v2Frame> frames;
    if (text.values.empty())
        return frames;
    const std::string id = MappedFrameId(text.key);
    const char* separator = id == "TPE1" || id == "TCOM" ? "/" : "; ";
    std::string joined = text.values[0];
    for (std::size_t i = 1; i < text.values.size(); ++i)
        joined += separator + text.values[i];
    if (id == "TYER")
        AddYearFrames(text.key, joined, frames);
    else
        frames.push_back(MakeTextFrame(id, joined, id == "TXXX" ? text.key : std::string()));
    return frames;
}

// The encoding of the description, the MIME type, the picture type, the
// description, the bytes.
Id3v2Frame PictureFrame(const PictureTag& picture, const std::string& description) {
    const unsigned char encoding = FitsLatin1(description) ? kLatin1 : kUtf16;
    std::string payload(1, static_cast<char>(encoding));
    payload += picture.mimeType;
    payload += '\0';
    payload += static_cast<char>(picture.pictureType);
    AppendEncoded(description, encoding, payload);
    AppendTerminator(encoding, payload);
    payload += picture.data;
    return {PictureTypeIdentity(static_cast<unsigned char>(picture.pictureType)), payload};
}
