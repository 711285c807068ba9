#include "decoder_gain.h"

#include <cmath>
#include <cstdlib>

#include "conversion_command.h"
#include "text_encoding.h"

namespace {

enum class Decoder { Unknown, Mpcdec, Mppdec };

Decoder DecoderOf(const AnsiText& path) {
    const AnsiText ansiName = ToolFileName(path);
    const std::string name(ansiName.begin(), ansiName.end());
    for (const char* suffix : {"", ".exe"}) {
        if (EqualIgnoringAsciiCase(name, std::string("mpcdec") + suffix))
            return Decoder::Mpcdec;
        if (EqualIgnoringAsciiCase(name, std::string("mppdec") + suffix))
            return Decoder::Mppdec;
    }
    return Decoder::Unknown;
}

std::vector<std::string> Words(const AnsiText& text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

// What mppdec does with its switches; the last of each counts.
struct MppdecSwitches {
    int gainMode = 0;  // 0, 1: none; 2 (and above 3): title; 3: album
    double scale = 1;
    bool preventClipping = false;
};

MppdecSwitches ReadMppdecSwitches(const AnsiText& switches) {
    MppdecSwitches read;
    const std::vector<std::string> words = Words(switches);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const bool hasValue = i + 1 < words.size();
        if (words[i] == "--gain" && hasValue)
            read.gainMode = std::atoi(words[++i].c_str());
        else if (words[i] == "--scale" && hasValue)
            ReadDecimalNumber(words[++i], read.scale);
        else if (words[i] == "--prev")
            read.preventClipping = true;
    }
    return read;
}

double MppdecFactor(const MppdecSwitches& switches, const ReplayGain& header) {
    const bool album = switches.gainMode == 3;
    const bool title = switches.gainMode == 2 || switches.gainMode > 3;
    const std::optional<double>& gain = album ? header.albumGain : header.trackGain;
    const std::optional<double>& peak = album ? header.albumPeak : header.trackPeak;
    double factor = switches.scale;
    if ((album || title) && gain)
        factor *= FactorOfDecibels(*gain);
    if (switches.preventClipping) {
        const double peakSample = peak ? std::floor(*peak * 32768 + 0.5) : 0;
        const double ceiling = 32767 / (peakSample + 1);
        if (factor > ceiling)
            factor = ceiling;
    }
    return factor;
}

}  // namespace

bool DecoderGainFactor(const DecoderCall& decoder, const ReplayGain& header, double& factor) {
    switch (DecoderOf(decoder.path)) {
    case Decoder::Mpcdec:
        factor = 1;
        return true;
    case Decoder::Mppdec:
        factor = MppdecFactor(ReadMppdecSwitches(decoder.switches), header);
        return factor > 0 && std::isfinite(factor);
    case Decoder::Unknown:
        break;
    }
    return false;
}

void PutReplayGainForMp3(const DecoderCall& decoder, const ReplayGain& header,
                         std::vector<TextTag>& texts) {
    const ReplayGain items = ReplayGainOfItems(texts);
    double factor = 1;
    ReplayGain carried;
    if (DecoderGainFactor(decoder, header, factor))
        carried = ScaledReplayGain(items.Empty() ? header : items, factor);
    PutReplayGainItems(carried, texts);
}
