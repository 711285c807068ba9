// The settings file through the Windows runtime's text mode, where a line
// feed is written as CR LF and CR LF is read back as a line feed.
#include <string>

#include "ansi_text.h"
#include "scratch_directory.h"
#include "self_check.h"
#include "settings_file.h"
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

TEST_CASE(TenMegabyteLine, "10 MB line in text mode") {
    ScratchDirectory dir;
    const std::string huge(10 * 1024 * 1024, 'q');
    const ConversionSettings saved = {"C:\\dec.exe", "C:\\enc.exe", Ansi(huge),
                                      "-V 2",        "E:\\Out",     "2"};
    CHECK_WHY(SaveSettings(saved), "SaveSettings failed");
    const std::string expectedFile =
        "C:\\dec.exe\r\nC:\\enc.exe\r\n" + huge + "\r\n-V 2\r\nE:\\Out\r\n2\r\n\r\n";
    const std::string file = ReadFileBytes("bramkot.ini");
    CHECK_WHY(file.size() == expectedFile.size() && file == expectedFile,
              "file is not seven CR LF lines, size " + std::to_string(file.size()));
    const ConversionSettings loaded = Load();
    CHECK_WHY(SameSettings(saved, loaded), "loaded back as " + Shown(loaded));

    // Written by something else, with the long line first and no final line end.
    WriteFileBytes("bramkot.ini", huge + "\r\nb\r\nc\r\nd\r\ne");
    const ConversionSettings other = Load();
    CHECK_WHY(SameSettings({Ansi(huge), "b", "c", "d", "e", "0"}, other), "loaded " + Shown(other));
}

TEST_CASE(CrLfAndMixedFiles, "CR LF and mixed files in text mode") {
    ScratchDirectory dir;
    WriteFileBytes("bramkot.ini",
                   "C:\\Program Files\\dec.exe\r\nC:\\enc.exe\r\n--gain 2\r\n-V 2\r\nE:\\Out\r\n");
    ConversionSettings loaded = Load();
    CHECK_WHY(SameSettings(
                  {"C:\\Program Files\\dec.exe", "C:\\enc.exe", "--gain 2", "-V 2", "E:\\Out", "0"},
                  loaded),
              "CR LF file loaded as " + Shown(loaded));

    WriteFileBytes("bramkot.ini", "a\r\nb\nc\r\n\nE:\\Out");
    loaded = Load();
    CHECK_WHY(SameSettings({"a", "b", "c", "", "E:\\Out", "0"}, loaded),
              "mixed file loaded as " + Shown(loaded));

    // What a save makes of it is a clean CR LF file that loads the same.
    CHECK_WHY(SaveSettings(loaded), "SaveSettings failed");
    CHECK_WHY(ReadFileBytes("bramkot.ini") == "a\r\nb\r\nc\r\n\r\nE:\\Out\r\n0\r\n\r\n",
              "saved file: " + ReadFileBytes("bramkot.ini"));
    const ConversionSettings again = Load();
    CHECK_WHY(SameSettings(loaded, again), "reloaded as " + Shown(again));
}

// Text mode would read a Ctrl-Z as the end of the file.
TEST_CASE(ControlCharactersLoadBack, "control characters in a setting") {
    ScratchDirectory dir;
    const ConversionSettings saved = {"C:\\dec.exe", "C:\\enc.exe", "-a\x1a-b",
                                      "-V\x01 2",    "E:\\Out",     "1"};
    CHECK_WHY(SaveSettings(saved), "SaveSettings failed");
    const ConversionSettings loaded = Load();
    CHECK_WHY(SameSettings(saved, loaded), "loaded back as " + Shown(loaded));
}

}  // namespace
