#pragma once

#include "text_kinds.h"

// The conversion settings, in the order they are stored in the settings
// file. ANSI: the dialog's edit controls and the settings file are 8-bit,
// and the settings go into the batch line as typed.
struct ConversionSettings {
    AnsiText m_mppdecPath;
    AnsiText m_lamePath;
    AnsiText m_mppdecSwitches;
    AnsiText m_lameSwitches;
    AnsiText m_outputDir;
    // How many files a run converts at once: a number; empty or 0, one per processor.
    AnsiText m_filesAtOnce;
    // "1": a file whose MP3 is there already is not converted (skip_rule.h).
    AnsiText m_skipDone = AnsiText();
};

inline constexpr const char kDefaultMppdecPath[] = "C:\\mppdec\\mppdec.exe";
inline constexpr const char kDefaultLamePath[] = "C:\\LAME\\lame.exe";
inline constexpr const char kDefaultMppdecSwitches[] = "--gain 2";
inline constexpr const char kDefaultLameSwitches[] = "--alt-preset 128";
inline constexpr const char kDefaultFilesAtOnce[] = "0";

// One row a setting, in the order of the settings file's lines: what the
// settings file, the dialog (ui/settings_fields.h names each row's control)
// and the tests walk.
struct SettingRow {
    const char* name;  // as the dialog labels it
    AnsiText ConversionSettings::*field;
    const char* defaultValue;  // with no settings file
    // With a settings file of too few lines: the default, or the value the
    // field had (null).
    const char* whenMissing;
    bool emptyMeansDefault;
    // A yes-or-no setting: "1" or empty.
    bool yesOrNo = false;
};

inline constexpr int kSettingCount = 7;
extern const SettingRow kSettingRows[kSettingCount];
