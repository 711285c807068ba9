#pragma once

#include <string>

// The conversion settings, in the order they are stored in the settings file.
struct ConversionSettings {
    std::string m_mppdecPath;
    std::string m_lamePath;
    std::string m_mppdecSwitches;
    std::string m_lameSwitches;
    std::string m_outputDir;
    // How many files a run converts at once: a number; empty or 0, one per processor.
    std::string m_filesAtOnce;
};

inline constexpr const char kDefaultMppdecPath[] = "C:\\mppdec\\mppdec.exe";
inline constexpr const char kDefaultLamePath[] = "C:\\LAME\\lame.exe";
inline constexpr const char kDefaultMppdecSwitches[] = "--gain 2";
inline constexpr const char kDefaultLameSwitches[] = "--alt-preset 128";
inline constexpr const char kDefaultFilesAtOnce[] = "0";
