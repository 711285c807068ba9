#include "settings_file.h"

#include <cstdio>

#include "file_system.h"
#include "small_file.h"

namespace {

const char kTemporarySettingsFileName[] = "bramkot.ini.new";

// Reads one whole line of any length. Removes the line feed that ends it and a
// carriage return just before that; a last line without a line feed is kept
// whole. Returns false when the file has no further line.
bool ReadLine(FILE* file, AnsiText& line) {
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

void AssignDefaults(ConversionSettings& settings) {
    for (const SettingRow& row : kSettingRows)
        settings.*row.field = row.defaultValue;
}

}  // namespace

// Read in binary mode: the Windows text mode takes a Ctrl-Z as the end of the
// file and would lose it and every setting after it. ReadLine removes the
// carriage returns that text mode would have.
void LoadSettings(ConversionSettings& settings) {
    FILE* file = OpenFile(kSettingsFileName, "rb");
    if (file == nullptr) {
        AssignDefaults(settings);
        return;
    }
    for (const SettingRow& row : kSettingRows) {
        AnsiText line;
        if (ReadLine(file, line) && !(line.empty() && row.emptyMeansDefault))
            settings.*row.field = line;
        else if (row.whenMissing != nullptr)
            settings.*row.field = row.whenMissing;
    }
    // A file that opens but cannot be read (a folder, on some systems) is
    // one that cannot be opened.
    if (std::ferror(file))
        AssignDefaults(settings);
    std::fclose(file);
}

bool SaveSettings(const ConversionSettings& settings, std::string* problem) {
    std::string text;
    for (const SettingRow& row : kSettingRows) {
        const AnsiText& value = settings.*row.field;
        text.append(value.begin(), value.end());
        text += '\n';
    }
    std::string why;
    if (WriteSmallFile(kTemporarySettingsFileName, text, "wt", why) &&
        ReplaceFileWith(kTemporarySettingsFileName, kSettingsFileName))
        return true;
    if (why.empty())
        why = LastSystemErrorText();
    std::remove(kTemporarySettingsFileName);
    if (problem != nullptr)
        *problem = why;
    return false;
}
