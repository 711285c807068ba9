#pragma once

#include "conversion_settings.h"

// A wait for the ends of more pipelines than this is not worth its handles.
inline constexpr int kMostFilesAtOnce = 32;

// How many files the settings let one run convert at once: the number of
// "Files at once"; anything but a number means one per processor, as empty
// and 0 do.
int FilesAtOnce(const ConversionSettings& settings);
