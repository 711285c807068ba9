#pragma once

#include "conversion_settings.h"

inline constexpr const char kSettingsFileName[] = "bramkot.ini";

// Reads "bramkot.ini" from the current directory. When the file cannot be
// opened, all settings become the defaults. A missing line among the first
// four gets its default; a missing fifth line leaves m_outputDir as it was; a
// missing or empty sixth line (files of five lines) gives m_filesAtOnce "0";
// a missing seventh line (files of six lines) leaves m_skipDone empty: off.
void LoadSettings(ConversionSettings& settings);

// Writes the seven settings to "bramkot.ini", one per line (a reader of
// fewer lines ignores the rest). The new content goes
// to a temporary file first, which then replaces the old file, so a failed
// write leaves the previous settings intact. Returns false on failure, with
// the system's words for it in `problem` when one is given.
bool SaveSettings(const ConversionSettings& settings, std::string* problem = nullptr);
