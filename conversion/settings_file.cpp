#include "settings_file.h"

#include <cstdio>

#include "platform_files.h"

namespace {

const char kTemporarySettingsFileName[] = "bramkot.ini.new";

// Reads one whole line of any length. Removes the line feed that ends it and a
// carriage return just before that; a last line without a line feed is kept
// whole. Returns false when the file has no further line.
bool ReadLine(FILE* file, std::string& line) {
    line.clear();
    int c = std::getc(file);
    if (c == EOF)
        return false;
    for (; c != EOF; c = std::getc(file)) {
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (c == '\n' && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

void LoadLineOrDefault(FILE* file, std::string& field, const char* defaultValue) {
    std::string line;
    field = ReadLine(file, line) ? line : defaultValue;
}

void AssignDefaults(ConversionSettings& settings) {
    settings.m_mppdecPath = kDefaultMppdecPath;
    settings.m_lamePath = kDefaultLamePath;
    settings.m_mppdecSwitches = kDefaultMppdecSwitches;
    settings.m_lameSwitches = kDefaultLameSwitches;
    settings.m_outputDir.clear();
    settings.m_filesAtOnce = kDefaultFilesAtOnce;
}

}  // namespace

// Read in binary mode: the Windows text mode takes a Ctrl-Z as the end of the
// file and would lose it and every setting after it. ReadLine removes the
// carriage returns that text mode would have.
void LoadSettings(ConversionSettings& settings) {
    FILE* file = std::fopen(kSettingsFileName, "rb");
    if (file == nullptr) {
        AssignDefaults(settings);
        return;
    }
    LoadLineOrDefault(file, settings.m_mppdecPath, kDefaultMppdecPath);
    LoadLineOrDefault(file, settings.m_lamePath, kDefaultLamePath);
    LoadLineOrDefault(file, settings.m_mppdecSwitches, kDefaultMppdecSwitches);
    LoadLineOrDefault(file, settings.m_lameSwitches, kDefaultLameSwitches);
    std::string line;
    if (ReadLine(file, line))
        settings.m_outputDir = line;
    // Files written before the sixth setting have five lines.
    settings.m_filesAtOnce = ReadLine(file, line) && !line.empty() ? line : kDefaultFilesAtOnce;
    // A file that opens but cannot be read (a folder, on some systems) is
    // one that cannot be opened.
    if (std::ferror(file))
        AssignDefaults(settings);
    std::fclose(file);
}

bool SaveSettings(const ConversionSettings& settings, std::string* problem) {
    FILE* file = std::fopen(kTemporarySettingsFileName, "wt");
    if (file == nullptr) {
        if (problem != nullptr)
            *problem = LastSystemErrorText();
        return false;
    }
    const std::string* fields[] = {&settings.m_mppdecPath,     &settings.m_lamePath,
                                   &settings.m_mppdecSwitches, &settings.m_lameSwitches,
                                   &settings.m_outputDir,      &settings.m_filesAtOnce};
    bool written = true;
    for (const std::string* field : fields)
        written = std::fprintf(file, "%s\n", field->c_str()) >= 0 && written;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && ReplaceFileWith(kTemporarySettingsFileName, kSettingsFileName))
        return true;
    if (problem != nullptr)
        *problem = LastSystemErrorText();
    std::remove(kTemporarySettingsFileName);
    return false;
}
