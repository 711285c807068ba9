// Converts every Musepack file of a folder with the real conversion run, as the
// program's "Convert Files" does, in the current directory.
// Usage: e2e_convert <tools folder> <music folder> [<output folder>]
// The tools folder holds mppdec.exe and lame.exe; folders may be given as
// Unix paths. Prints "left: <path>" (UTF-8) for each entry the run kept.
// Exits 0 when the list ended empty, no batch file was left and every MP3
// was complete when the run returned.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "conversion_run.h"
#include "file_queue.h"
#include "memory_file_queue.h"
#include "test_files.h"
#include "wine_paths.h"

namespace {

std::string AnsiFolder(const std::wstring& argument) {
    const std::wstring windows =
        !argument.empty() && argument[0] == L'/' ? WindowsPathOf(ToUtf8(argument)) : argument;
    std::string ansi = WideToAnsi(windows);
    while (!ansi.empty() && ansi.back() == '\\')
        ansi.pop_back();
    return ansi;
}

// The Musepack files of `folder`, full ANSI paths, sorted.
std::vector<std::string> MusepackFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const std::string& utf8 : FolderNames(AnsiToWide(folder))) {
        const std::string name = WideToAnsi(FromUtf8(utf8));
        if (name.empty()) {
            std::printf("not in the ANSI code page: %s\n", utf8.c_str());
            continue;
        }
        if (IsMusepackFileName(name.c_str()))
            files.push_back(folder + "\\" + name);
    }
    return files;
}

std::string Mp3For(const std::string& input, const std::string& outputFolder) {
    std::string mp3 = input.substr(0, input.size() - 1) + "3";
    if (outputFolder.empty())
        return mp3;
    return outputFolder + mp3.substr(mp3.rfind('\\'));
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(AnsiToWide(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A run that returned before the encoder had finished would leave an MP3
// missing or still growing.
bool Mp3sCompleteOnReturn(const std::vector<std::string>& inputs, const std::string& outputFolder) {
    std::vector<long long> sizes;
    for (const std::string& input : inputs)
        sizes.push_back(FileSize(Mp3For(input, outputFolder)));
    Sleep(1500);
    bool complete = true;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const long long later = FileSize(Mp3For(inputs[i], outputFolder));
        if (sizes[i] <= 0 || later != sizes[i]) {
            std::printf("MP3 %zu: %lld bytes when the run returned, %lld bytes later\n", i + 1,
                        sizes[i], later);
            complete = false;
        }
    }
    return complete;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 3 && count != 4) {
        std::printf("usage: e2e_convert <tools folder> <music folder> [<output folder>]\n");
        return 2;
    }
    const std::string tools = AnsiFolder(argv[1]);
    const std::string music = AnsiFolder(argv[2]);
    ConversionSettings settings;
    settings.m_mppdecPath = tools + "\\mppdec.exe";
    settings.m_lamePath = tools + "\\lame.exe";
    settings.m_mppdecSwitches = "";
    settings.m_lameSwitches = "--alt-preset 128";
    settings.m_outputDir = count == 4 ? AnsiFolder(argv[3]) : std::string();
    LocalFree(argv);

    MemoryFileQueue queue;
    const std::vector<std::string> files = MusepackFiles(music);
    for (const std::string& file : files)
        queue.Append(AnsiToUtf8(file).c_str());
    std::printf("converting %zu files from %s to %s\n", files.size(), music.c_str(),
                settings.m_outputDir.empty() ? "their own folder" : settings.m_outputDir.c_str());
    std::fflush(stdout);

    const ULONGLONG start = GetTickCount64();
    RunConversionQueue(settings, queue);
    const ULONGLONG elapsed = GetTickCount64() - start;

    std::vector<std::string> converted;
    for (const std::string& file : files) {
        const std::vector<std::string>& left = queue.Entries();
        if (std::find(left.begin(), left.end(), AnsiToUtf8(file)) == left.end())
            converted.push_back(file);
        else
            std::printf("left: %s\n", AnsiToUtf8(file).c_str());
    }
    const bool complete = Mp3sCompleteOnReturn(converted, settings.m_outputDir);
    const bool batchLeft = FileExists(L"bramkot.bat");
    std::printf("%zu entries left in the list, batch file %s, MP3s %s, %llu ms\n",
                queue.Entries().size(), batchLeft ? "LEFT BEHIND" : "gone",
                complete ? "complete" : "INCOMPLETE", elapsed);
    return !files.empty() && queue.Entries().empty() && !batchLeft && complete ? 0 : 1;
}
