#pragma once

#include "conversion_settings.h"
#include "file_outcome.h"

// "Skip files whose MP3 is there": with it on, a file whose MP3 exists,
// holds bytes and is not older than the file is done and is not converted
// again, so a collection dropped again converts only what a stopped run left.
bool SkipsDoneFiles(const ConversionSettings& settings);
bool Mp3IsDone(const FileState& input, const FileState& mp3);
