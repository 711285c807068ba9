#pragma once

#include "conversion_settings.h"

inline constexpr const char kSettingsFileName[] = "bramkot.ini";

// Reads "bramkot.ini" from the current directory. When the file cannot be
// opened, all five settings become the defaults. A missing line among the
// first four gets its default; a missing fifth line leaves m_outputDir as it was.
void LoadSettings(ConversionSettings& settings);

// Writes the five settings to "bramkot.ini", one per line. The new content goes
// to a temporary file first, which then replaces the old file, so a failed
// write leaves the previous settings intact. Returns false on failure.
bool SaveSettings(const ConversionSettings& settings);
