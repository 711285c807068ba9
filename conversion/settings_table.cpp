#include "conversion_settings.h"
#include "resource.h"

// Files of four lines have no output directory line: it keeps what it had.
// Files written before "Files at once" have five lines: 0, one per processor.
// Files of six lines do not skip.
const SettingRow kSettingRows[kSettingCount] = {
    {"mppdec.exe location", &ConversionSettings::m_mppdecPath, kDefaultMppdecPath,
     kDefaultMppdecPath, false, IDC_MPPDEC_PATH},
    {"lame.exe location", &ConversionSettings::m_lamePath, kDefaultLamePath, kDefaultLamePath,
     false, IDC_LAME_PATH},
    {"MPPDEC switches", &ConversionSettings::m_mppdecSwitches, kDefaultMppdecSwitches,
     kDefaultMppdecSwitches, false, IDC_MPPDEC_SWITCHES},
    {"LAME switches", &ConversionSettings::m_lameSwitches, kDefaultLameSwitches,
     kDefaultLameSwitches, false, IDC_LAME_SWITCHES},
    {"(Optional) Output Directory", &ConversionSettings::m_outputDir, "", nullptr, false,
     IDC_OUTPUT_DIR},
    {"Files at once", &ConversionSettings::m_filesAtOnce, kDefaultFilesAtOnce, kDefaultFilesAtOnce,
     true, IDC_FILES_AT_ONCE},
    {"Skip files whose MP3 is there", &ConversionSettings::m_skipDone, "", "", false, IDC_SKIP_DONE,
     true},
};
