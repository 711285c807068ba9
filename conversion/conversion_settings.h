#pragma once

#include <string>

// The five conversion settings, in the order they are stored in the settings file.
struct ConversionSettings {
    std::string m_mppdecPath;
    std::string m_lamePath;
    std::string m_mppdecSwitches;
    std::string m_lameSwitches;
    std::string m_outputDir;
};

inline constexpr const char kDefaultMppdecPath[] = "C:\\mppdec\\mppdec.exe";
inline constexpr const char kDefaultLamePath[] = "C:\\LAME\\lame.exe";
inline constexpr const char kDefaultMppdecSwitches[] = "--gain 2";
inline constexpr const char kDefaultLameSwitches[] = "--alt-preset 128";
