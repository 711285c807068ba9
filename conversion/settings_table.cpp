#include "conversion_settings.h"

// Files of four lines have no output directory line: it keeps what it had.
// Files written before "Files at once" have five lines: 0, one per processor.
// Files of six lines do not skip.
const SettingRow kSettingRows[kSettingCount] = {
    {"mppdec.exe location", &ConversionSettings::m_mppdecPath, kDefaultMppdecPath,
     kDefaultMppdecPath, false},
    {"lame.exe location", &ConversionSettings::m_lamePath, kDefaultLamePath, kDefaultLamePath,
     false},
    {"MPPDEC switches", &ConversionSettings::m_mppdecSwitches, kDefaultMppdecSwitches,
     kDefaultMppdecSwitches, false},
    {"LAME switches", &ConversionSettings::m_lameSwitches, kDefaultLameSwitches,
     kDefaultLameSwitches, false},
    {"(Optional) Output Directory", &ConversionSettings::m_outputDir, "", nullptr, false},
    {"Files at once", &ConversionSettings::m_filesAtOnce, kDefaultFilesAtOnce, kDefaultFilesAtOnce,
     true},
    {"Skip files whose MP3 is there", &ConversionSettings::m_skipDone, "", "", false, true},
};
