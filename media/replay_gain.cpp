#include "replay_gain.h"

#include <cmath>
#include <cstring>

#include "byte_order.h"
#include "decimal_text.h"
#include "id3v2_header.h"
#include "musepack_packets.h"
#include "text_encoding.h"

namespace {

using Value = std::optional<double> ReplayGain::*;

struct ReplayGainItem {
    const char* key;
    Value value;
    bool isGain;
};

const ReplayGainItem kItems[] = {
    {"REPLAYGAIN_TRACK_GAIN", &ReplayGain::trackGain, true},
    {"REPLAYGAIN_TRACK_PEAK", &ReplayGain::trackPeak, false},
    {"REPLAYGAIN_ALBUM_GAIN", &ReplayGain::albumGain, true},
    {"REPLAYGAIN_ALBUM_PEAK", &ReplayGain::albumPeak, false},
};

const double kMaxNumber = 1e6;
const double kLn10 = 2.302585092994045684;
// Version 8's gains count down from this loudness, in 1/256 dB.
const double kVersion8GainBase = 64.82;

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

bool IsReplayGainKey(const std::string& key) {
    const std::string prefix = "REPLAYGAIN_";
    return key.size() >= prefix.size() &&
           EqualIgnoringAsciiCase(key.substr(0, prefix.size()), prefix);
}

// "dB" and the spaces before it, where the text ends with them.
std::string WithoutDecibels(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1]))
        --end;
    if (end >= 2 && EqualIgnoringAsciiCase(text.substr(end - 2, 2), "dB"))
        end -= 2;
    return text.substr(0, end);
}

void SetIfSet(std::uint32_t raw, double value, std::optional<double>& out) {
    if (raw != 0)
        out = value;
}

// Words 3 and 4 of the header (little-endian): the title gain (signed) in
// their high 16 bits and its peak in the low ones, then the album's.
ReplayGain ReadVersion7(ByteSource& file, std::uint64_t start) {
    ReplayGain gain;
    unsigned char header[20];
    if (!file.ReadAt(start, header, sizeof header) || (header[3] & 0x0F) != 7)
        return gain;
    const std::uint32_t title = LittleEndian32(header + 12);
    const std::uint32_t album = LittleEndian32(header + 16);
    const auto decibels = [](std::uint32_t word) {
        return static_cast<std::int16_t>(word >> 16) / 100.0;
    };
    SetIfSet(title >> 16, decibels(title), gain.trackGain);
    SetIfSet(title & 0xFFFF, (title & 0xFFFF) / 32768.0, gain.trackPeak);
    SetIfSet(album >> 16, decibels(album), gain.albumGain);
    SetIfSet(album & 0xFFFF, (album & 0xFFFF) / 32768.0, gain.albumPeak);
    return gain;
}

// The packet's payload: its version (1), then the title gain, title peak,
// album gain and album peak, 16 bits each, big-endian.
ReplayGain ReadVersion8(ByteSource& file, std::uint64_t start) {
    ReplayGain gain;
    std::uint64_t pos = start + 4;
    MusepackPacket packet;
    for (int i = 0; i < kMaxPacketsBeforeAudio && ReadMusepackPacket(file, pos, packet); ++i) {
        if (packet.EndsHeaders())
            break;
        unsigned char payload[9];
        if (packet.Is("RG") && packet.payloadSize >= sizeof payload &&
            file.ReadAt(packet.payloadOffset, payload, sizeof payload) && payload[0] == 1) {
            const auto at = [&](int offset) {
                return static_cast<std::uint32_t>(payload[offset] << 8 | payload[offset + 1]);
            };
            const auto decibels = [](std::uint32_t v) { return kVersion8GainBase - v / 256.0; };
            // 10^(p / 5120): the packet gives 256ths of a dB of a 16-bit sample.
            const auto peak = [](std::uint32_t p) { return FactorOfDecibels(p / 256.0) / 32768; };
            SetIfSet(at(1), decibels(at(1)), gain.trackGain);
            SetIfSet(at(3), peak(at(3)), gain.trackPeak);
            SetIfSet(at(5), decibels(at(5)), gain.albumGain);
            SetIfSet(at(7), peak(at(7)), gain.albumPeak);
            break;
        }
        pos = packet.nextOffset;
    }
    return gain;
}

}  // namespace

// exp and log rather than pow and log10, which cost the program 3 KB more.
double FactorOfDecibels(double decibels) {
    return std::exp(decibels * kLn10 / 20);
}

double DecibelsOfFactor(double factor) {
    return 20 / kLn10 * std::log(factor);
}

bool ReadDecimalNumber(const std::string& text, double& value) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    double number = 0;
    double place = 1;  // of the next digit after the point
    bool point = false;
    int digits = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            if (point) {
                place /= 10;
                number += (c - '0') * place;
            } else {
                number = number * 10 + (c - '0');
            }
            if (number > kMaxNumber)
                return false;
        } else {
            break;
        }
    }
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    if (digits == 0 || pos != text.size())
        return false;
    value = negative ? -number : number;
    return true;
}

ReplayGain ReplayGainOfItems(const std::vector<TextTag>& texts) {
    ReplayGain gain;
    for (const TextTag& text : texts) {
        for (const ReplayGainItem& item : kItems) {
            double value = 0;
            if (EqualIgnoringAsciiCase(text.key, item.key) && text.values.size() == 1 &&
                ReadDecimalNumber(WithoutDecibels(text.values[0]), value) &&
                (item.isGain || value >= 0))
                gain.*item.value = value;
        }
    }
    return gain;
}

ReplayGain ReadStreamReplayGain(ByteSource& file) {
    std::uint64_t start = 0;
    unsigned char magic[4];
    if (!SkipId3v2Tag(file, start) || !file.ReadAt(start, magic, sizeof magic))
        return ReplayGain();
    if (std::memcmp(magic, "MP+", 3) == 0)
        return ReadVersion7(file, start);
    if (std::memcmp(magic, "MPCK", 4) == 0)
        return ReadVersion8(file, start);
    return ReplayGain();
}

ReplayGain ScaledReplayGain(const ReplayGain& gain, double factor) {
    ReplayGain scaled = gain;
    for (const ReplayGainItem& item : kItems) {
        std::optional<double>& value = scaled.*item.value;
        if (value)
            *value = item.isGain ? *value - DecibelsOfFactor(factor) : *value * factor;
    }
    return scaled;
}

void PutReplayGainItems(const ReplayGain& gain, std::vector<TextTag>& texts) {
    for (std::size_t i = texts.size(); i-- > 0;) {
        if (IsReplayGainKey(texts[i].key))
            texts.erase(texts.begin() + i);
    }
    for (const ReplayGainItem& item : kItems) {
        const std::optional<double>& value = gain.*item.value;
        if (value && std::fabs(*value) <= kMaxNumber)
            texts.push_back({item.key,
                             {item.isGain ? FixedPoint(*value, 2, true) + " dB"
                                          : FixedPoint(*value, 6, false)}});
    }
}
