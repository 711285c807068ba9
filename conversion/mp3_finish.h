#pragma once

#include <string>

#include "decoder_gain.h"

// The work on an MP3 after its pipeline, paths in UTF-8.

struct LengthCheck {
    // False when the Musepack stream's length is known and the MP3 holds not
    // one MPEG audio frame (text, a cut header): nothing to compare.
    bool audio = true;
    bool complete = true;
    double streamSeconds = 0;  // both known only when the check was made
    double mp3Seconds = 0;
};

// Not complete when the MP3 lasts more than half a second less than the
// Musepack stream it was made from (a damaged file the decoder gave up on
// halfway, an encoder cut short), counting only the frames that are there;
// complete also when the stream's length cannot be read.
LengthCheck CheckMp3Length(const std::string& musepack, const std::string& mp3);

// Puts the Musepack file's tags into the MP3's ID3v2.3 tag, beside the frames
// the encoder wrote itself, its ReplayGain corrected for the gain `decoder`
// applied (decoder_gain.h). The tagged file is written beside the MP3 and
// moved over it in one step. True when the MP3 has every tag the Musepack
// file holds, or the Musepack file has none (or cannot be opened any more);
// false, with `problem` in words
// for the user, when its tag cannot be read whole or written into the MP3
// (then the MP3 may be left without them).
bool CarryTagsOver(const std::string& musepack, const std::string& mp3, const DecoderCall& decoder,
                   std::string& problem);

// Where CarryTagsOver writes the tagged copy.
std::string TaggedCopyPath(const std::string& mp3);
