#include "skip_rule.h"

bool SkipsDoneFiles(const ConversionSettings& settings) {
    return settings.m_skipDone == "1";
}

bool Mp3IsDone(const FileState& input, const FileState& mp3) {
    return input.exists && mp3.exists && mp3.size > 0 && mp3.writeTime >= input.writeTime;
}
