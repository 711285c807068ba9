// The settings file through the Windows runtime's text mode, where a line
// feed is written as CR LF and CR LF is read back as a line feed.
#include <string>

#include "ansi_text.h"
#include "settings_file.h"
#include "wine_check.h"
#include "wine_tests.h"

namespace {

bool SameSettings(const ConversionSettings& a, const ConversionSettings& b) {
    for (const SettingRow& row : kSettingRows)
        if (a.*row.field != b.*row.field)
            return false;
    return true;
}

std::string Shown(const ConversionSettings& s) {
    std::string shown;
    for (const SettingRow& row : kSettingRows) {
        const std::string v = Bytes(s.*row.field);
        shown += (shown.empty() ? "[" : "|") +
                 (v.size() > 40 ? v.substr(0, 40) + "...(" + std::to_string(v.size()) + ")" : v);
    }
    return shown + "]";
}

ConversionSettings Load() {
    ConversionSettings loaded;
    LoadSettings(loaded);
    return loaded;
}

void TenMegabyteLine() {
    const char* test = "10 MB line in text mode";
    ScratchDirectory dir;
    const std::string huge(10 * 1024 * 1024, 'q');
    const ConversionSettings saved = {"C:\\dec.exe", "C:\\enc.exe", Ansi(huge),
                                      "-V 2",        "E:\\Out",     "2"};
    Check(SaveSettings(saved), test, "SaveSettings failed");
    const std::string expectedFile =
        "C:\\dec.exe\r\nC:\\enc.exe\r\n" + huge + "\r\n-V 2\r\nE:\\Out\r\n2\r\n\r\n";
    const std::string file = ReadFileBytes("bramkot.ini");
    Check(file.size() == expectedFile.size() && file == expectedFile, test,
          "file is not seven CR LF lines, size " + std::to_string(file.size()));
    const ConversionSettings loaded = Load();
    Check(SameSettings(saved, loaded), test, "loaded back as " + Shown(loaded));

    // Written by something else, with the long line first and no final line end.
    WriteFileBytes("bramkot.ini", huge + "\r\nb\r\nc\r\nd\r\ne");
    const ConversionSettings other = Load();
    Check(SameSettings({Ansi(huge), "b", "c", "d", "e", "0"}, other), test,
          "loaded " + Shown(other));
}

void CrLfAndMixedFiles() {
    const char* test = "CR LF and mixed files in text mode";
    ScratchDirectory dir;
    WriteFileBytes("bramkot.ini",
                   "C:\\Program Files\\dec.exe\r\nC:\\enc.exe\r\n--gain 2\r\n-V 2\r\nE:\\Out\r\n");
    ConversionSettings loaded = Load();
    Check(SameSettings(
              {"C:\\Program Files\\dec.exe", "C:\\enc.exe", "--gain 2", "-V 2", "E:\\Out", "0"},
              loaded),
          test, "CR LF file loaded as " + Shown(loaded));

    WriteFileBytes("bramkot.ini", "a\r\nb\nc\r\n\nE:\\Out");
    loaded = Load();
    Check(SameSettings({"a", "b", "c", "", "E:\\Out", "0"}, loaded), test,
          "mixed file loaded as " + Shown(loaded));

    // What a save makes of it is a clean CR LF file that loads the same.
    Check(SaveSettings(loaded), test, "SaveSettings failed");
    Check(ReadFileBytes("bramkot.ini") == "a\r\nb\r\nc\r\n\r\nE:\\Out\r\n0\r\n\r\n", test,
          "saved file: " + ReadFileBytes("bramkot.ini"));
    const ConversionSettings again = Load();
    Check(SameSettings(loaded, again), test, "reloaded as " + Shown(again));
}

// Text mode would read a Ctrl-Z as the end of the file.
void ControlCharactersLoadBack() {
    const char* test = "control characters in a setting";
    ScratchDirectory dir;
    const ConversionSettings saved = {"C:\\dec.exe", "C:\\enc.exe", "-a\x1a-b",
                                      "-V\x01 2",    "E:\\Out",     "1"};
    Check(SaveSettings(saved), test, "SaveSettings failed");
    const ConversionSettings loaded = Load();
    Check(SameSettings(saved, loaded), test, "loaded back as " + Shown(loaded));
}

}  // namespace

void RunHostileSettingsTests() {
    TenMegabyteLine();
    CrLfAndMixedFiles();
    ControlCharactersLoadBack();
}
