#pragma once

#include <optional>
#include <string>
#include <vector>

#include "byte_source.h"
#include "source_tags.h"

// ReplayGain: gains in dB, peaks as a fraction of full scale (1 is the
// largest 16-bit sample). Each value is there or not.
struct ReplayGain {
    std::optional<double> trackGain;
    std::optional<double> trackPeak;
    std::optional<double> albumGain;
    std::optional<double> albumPeak;

    bool Empty() const { return !trackGain && !trackPeak && !albumGain && !albumPeak; }
};

// The items REPLAYGAIN_TRACK_GAIN, _TRACK_PEAK, _ALBUM_GAIN and _ALBUM_PEAK,
// keys in any letter case. Each holds a number with "." for its decimal
// point, a gain followed by "dB" or not; an item that holds anything else is
// left out, as is a negative peak.
ReplayGain ReplayGainOfItems(const std::vector<TextTag>& texts);

// The ReplayGain of a Musepack stream's header, what a decoder that applies
// ReplayGain reads: stream version 7's gains in hundredths of a dB and peaks
// as 16-bit sample values, version 8's ReplayGain packet (gain 64.82 - v / 256
// dB, peak 10^(p / 5120) / 32768); 0 means unset in both. Empty for a stream
// of another version or a damaged header.
ReplayGain ReadStreamReplayGain(ByteSource& file);

// The values after the audio was scaled by `factor` (> 0): each gain less
// 20 log10(factor), each peak times it.
ReplayGain ScaledReplayGain(const ReplayGain& gain, double factor);

// Replaces every REPLAYGAIN_* item of `texts` with the values of `gain`, as
// the text players read: "REPLAYGAIN_TRACK_GAIN" "-6.54 dB", peaks "0.988312",
// "." for the decimal point whatever the locale.
void PutReplayGainItems(const ReplayGain& gain, std::vector<TextTag>& texts);

// 10^(decibels / 20), and back.
double FactorOfDecibels(double decibels);
double DecibelsOfFactor(double factor);

// A number of `text` as the C locale spells it: a sign, digits, "." and
// digits (at least one digit in all), spaces around it; false for anything
// else or a value beyond a million.
bool ReadDecimalNumber(const std::string& text, double& value);
