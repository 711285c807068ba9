// Converts every Musepack file of a folder with the real conversion run, as the
// program's "Convert Files" does, in the current directory.
// Usage: e2e_convert <decoder> <decoder switches> <encoder> <encoder switches>
//                    <music folder> [<output folder>]
// Paths may be given as Unix paths; the music folder's files may have any
// names. Prints "left: <path>" (UTF-8) for each entry the run kept, and
// under it "why: <the reason the run gave>".
// Exits 0 when the list ended empty, no batch file was left and every MP3
// was complete when the run returned.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <map>

#include "ansi_text.h"
#include "conversion_run.h"
#include "file_queue.h"
#include "handle.h"
#include "memory_file_queue.h"
#include "test_files.h"
#include "wine_paths.h"

namespace {

std::wstring WindowsArgument(const std::wstring& argument) {
    std::wstring windows =
        !argument.empty() && argument[0] == L'/' ? WindowsPathOf(ToUtf8(argument)) : argument;
    while (!windows.empty() && windows.back() == L'\\')
        windows.pop_back();
    return windows;
}

// The Musepack files of `folder`, full paths (UTF-8), sorted.
std::vector<std::string> MusepackFiles(const std::wstring& folder) {
    std::vector<std::string> files;
    for (const std::string& name : FolderNames(folder))
        if (IsMusepackFileName(name.c_str()))
            files.push_back(ToUtf8(folder) + "\\" + name);
    return files;
}

std::string Mp3For(const std::string& input, const std::string& outputFolder) {
    std::string mp3 = input.substr(0, input.size() - 1) + "3";
    if (outputFolder.empty())
        return mp3;
    return outputFolder + mp3.substr(mp3.rfind('\\'));
}

// The MP3's size, when nothing else has it open: -1 when it is missing or
// a process (an encoder still writing) holds it.
long long SizeWhenClosed(const std::string& path) {
    const Handle file(CreateFileW(FromUtf8(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    return file && GetFileSizeEx(file.Get(), &size) ? size.QuadPart : -1;
}

// A run that returned before the encoder had finished would leave an MP3
// missing, empty or still open for writing.
bool Mp3sCompleteOnReturn(const std::vector<std::string>& inputs, const std::string& outputFolder) {
    bool complete = true;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const long long size = SizeWhenClosed(Mp3For(inputs[i], outputFolder));
        if (size <= 0) {
            std::printf("MP3 %zu: missing, empty or open when the run returned (%lld)\n", i + 1,
                        size);
            complete = false;
        }
    }
    return complete;
}

// Why each kept entry failed, by its path.
class Reasons : public RunEvents {
public:
    explicit Reasons(const MemoryFileQueue& queue) : m_queue(queue) {}
    void EntryKept(int index, const FailureReport& report) override {
        m_why[m_queue.Entries().at(static_cast<std::size_t>(index))] = report.reason;
    }
    std::map<std::string, std::string> m_why;

private:
    const MemoryFileQueue& m_queue;
};

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 6 && count != 7) {
        std::printf(
            "usage: e2e_convert <decoder> <decoder switches> <encoder> <encoder switches> "
            "<music folder> [<output folder>]\n");
        return 2;
    }
    ConversionSettings settings;
    settings.m_mppdecPath = Ansi(WideToAnsi(WindowsArgument(argv[1])));
    settings.m_mppdecSwitches = Ansi(WideToAnsi(argv[2]));
    settings.m_lamePath = Ansi(WideToAnsi(WindowsArgument(argv[3])));
    settings.m_lameSwitches = Ansi(WideToAnsi(argv[4]));
    const std::wstring music = WindowsArgument(argv[5]);
    const std::string outputDir = count == 7 ? WideToAnsi(WindowsArgument(argv[6])) : std::string();
    settings.m_outputDir = Ansi(outputDir);
    LocalFree(argv);

    MemoryFileQueue queue;
    const std::vector<std::string> files = MusepackFiles(music);
    for (const std::string& file : files)
        queue.Append(file.c_str());
    std::printf("converting %zu files from %s to %s\n", files.size(), ToUtf8(music).c_str(),
                outputDir.empty() ? "their own folder" : AnsiToUtf8(outputDir).c_str());
    std::fflush(stdout);

    const ULONGLONG start = GetTickCount64();
    Reasons reasons(queue);
    RunConversionQueue(settings, queue, &reasons);
    const ULONGLONG elapsed = GetTickCount64() - start;

    std::vector<std::string> converted;
    const std::vector<std::string>& left = queue.Entries();
    for (const std::string& file : files) {
        if (std::find(left.begin(), left.end(), file) == left.end())
            converted.push_back(file);
        else
            std::printf("left: %s\nwhy: %s\n", file.c_str(), reasons.m_why[file].c_str());
    }
    const bool complete = Mp3sCompleteOnReturn(converted, AnsiToUtf8(outputDir));
    const bool batchLeft = FileExists(L"bramkot.bat");
    std::printf("%zu entries left in the list, batch file %s, MP3s %s, %llu ms\n",
                queue.Entries().size(), batchLeft ? "LEFT BEHIND" : "gone",
                complete ? "complete" : "INCOMPLETE", elapsed);
    return !files.empty() && queue.Entries().empty() && !batchLeft && complete ? 0 : 1;
}
