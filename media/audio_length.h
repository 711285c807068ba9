#pragma once

#include <cstdint>

#include "byte_source.h"

struct AudioLength {
    std::uint64_t samples = 0;
    std::uint32_t sampleRate = 0;

    // Zero when the sample rate is unknown.
    double Seconds() const;
};

// The length of a Musepack stream from its header: stream version 7 ("MP+")
// or 8 ("MPCK"), after an ID3v2 tag where one comes first. False for anything
// else: older stream versions, damaged headers.
bool ReadMusepackLength(ByteSource& file, AudioLength& length);

// The length of an MPEG audio layer III stream, after an ID3v2 tag where one
// comes first: the frames up to the first bytes that are not one (an ID3v1 or
// APE tag, the end of the file), or the frame count of a Xing or "Info" frame
// where those frames are there to back it; less the encoder delay and padding
// of a LAME tag. False when not one whole audio frame is found.
bool ReadMp3Length(ByteSource& file, AudioLength& length);

// True when the MP3 lasts more than half a second less than the stream it was
// made from.
bool IsCutShort(const AudioLength& stream, const AudioLength& mp3);
