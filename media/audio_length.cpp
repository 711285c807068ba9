#include "audio_length.h"

double AudioLength::Seconds() const {
    return sampleRate == 0 ? 0.0 : static_cast<double>(samples) / sampleRate;
}

bool IsCutShort(const AudioLength& stream, const AudioLength& mp3) {
    return mp3.Seconds() < stream.Seconds() - 0.5;
}
