// Feeds arbitrary bytes to the settings reader as "bramkot.ini" and checks
// what it loads against the file's line structure, then that what it loaded
// survives a save and a second load.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz_support.h"
#include "settings_file.h"

namespace {

const char kUntouched[] = "<output directory before loading>";

// The lines of `bytes` the way the settings file defines them: split at line
// feeds, a carriage return right before a line feed dropped, a last line
// without a line feed kept whole.
std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        std::string line =
            bytes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (end != std::string::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        pos = end == std::string::npos ? bytes.size() : end + 1;
    }
    return lines;
}

void WriteFile(const char* name, const std::string& bytes) {
    FILE* file = std::fopen(name, "wb");
    FuzzCheck(file != nullptr, "cannot create the settings file");
    FuzzCheck(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(), "short write");
    FuzzCheck(std::fclose(file) == 0, "fclose");
}

std::string ReadFile(const char* name) {
    FILE* file = std::fopen(name, "rb");
    FuzzCheck(file != nullptr, "saved settings file missing");
    std::string bytes;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

std::string Value(const ConversionSettings& s, int row) {
    const AnsiText& value = s.*kSettingRows[row].field;
    return std::string(value.begin(), value.end());
}

bool Storable(const std::string& value) {
    return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnterPrivateDirectory();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteFile(kSettingsFileName, bytes);

    ConversionSettings loaded;
    loaded.m_outputDir = kUntouched;
    LoadSettings(loaded);

    // Each row holds its line; a missing one its default, or what it had.
    const std::vector<std::string> lines = SplitLines(bytes);
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRow& row = kSettingRows[i];
        const std::string value = Value(loaded, i);
        FuzzCheck(value.find('\n') == std::string::npos, "a loaded value holds a line feed");
        const std::string otherwise = row.whenMissing != nullptr ? row.whenMissing : kUntouched;
        const bool hasLine =
            i < static_cast<int>(lines.size()) && !(lines[i].empty() && row.emptyMeansDefault);
        FuzzCheck(value == (hasLine ? lines[i] : otherwise),
                  "a loaded value differs from its line of the file");
    }

    bool storable = true;
    for (int i = 0; i < kSettingCount; ++i)
        storable = storable && Storable(Value(loaded, i));
    if (!storable)
        return 0;

    FuzzCheck(SaveSettings(loaded), "SaveSettings failed in a writable directory");
    FuzzCheck(access("bramkot.ini.new", F_OK) != 0, "temporary settings file left behind");
    std::string expectedFile;
    for (int i = 0; i < kSettingCount; ++i)
        expectedFile += Value(loaded, i) + '\n';
    FuzzCheck(ReadFile(kSettingsFileName) == expectedFile,
              "saved file is not one plain line a setting");

    ConversionSettings reloaded;
    reloaded.m_outputDir = "<stale>";
    LoadSettings(reloaded);
    for (int i = 0; i < kSettingCount; ++i)
        FuzzCheck(Value(reloaded, i) == Value(loaded, i), "saved settings load back different");
    return 0;
}
