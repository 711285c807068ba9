#pragma once

#include "replay_gain.h"
#include "text_kinds.h"

// The decoder as the settings give it: its location and its switches.
struct DecoderCall {
    AnsiText path;
    AnsiText switches;
};

// The factor by which the decoder scaled the audio it wrote, known from its
// file name (with or without ".exe", any letter case) and switches, and the
// stream header's ReplayGain, which is what a decoder reads:
// - mpcdec applies no gain: 1.
// - mppdec applies the title gain for "--gain 2" (and any number above 3),
//   the album gain for "--gain 3", none for "--gain 0" or "1" or without the
//   switch; "--scale x" multiplies; "--prev" keeps the factor at most
//   32767 / (peak + 1), the peak that of the gain in use (the title's when
//   none is) as a 16-bit sample value. An unset gain is 0 dB.
// False for any other decoder, or a factor that is not above 0.
bool DecoderGainFactor(const DecoderCall& decoder, const ReplayGain& header, double& factor);

// Puts into `texts`, in place of their REPLAYGAIN_* items, the ReplayGain the
// MP3 should carry: the items' values where they have any, else the stream
// header's, corrected for the factor the decoder applied; none for a decoder
// whose factor is not known.
void PutReplayGainForMp3(const DecoderCall& decoder, const ReplayGain& header,
                         std::vector<TextTag>& texts);
