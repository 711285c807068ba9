// Runs the conversion run for real under Wine: the real command processor,
// its pipe and real files, with the fake tools in place of decoder and
// encoder. Arguments: the paths of fake_decoder.exe and fake_encoder.exe
// (Unix or Windows paths). A case that needs a second converter starts this
// program as: wine_run_tests --convert <decoder> <encoder> <input>...
// which converts those inputs in the current directory and exits 0 when its
// list ended empty.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "case_folder.h"
#include "conversion_run.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"
#include "wine_paths.h"

namespace {

std::wstring WindowsPathOfArgument(const std::wstring& argument) {
    if (!argument.empty() && argument[0] == L'/')
        return WindowsPathOf(ToUtf8(argument));
    return argument;
}

bool CopyFakeTools(const std::wstring& decoder, const std::wstring& encoder) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[64];
    std::snprintf(name, sizeof name, "bramkot tools (x86) & co %lu", GetCurrentProcessId());
    FakeToolCopies& tools = FakeTools();
    tools.folder = std::string(temp) + name;
    tools.decoder = tools.folder + "\\fake_decoder.exe";
    tools.encoder = tools.folder + "\\fake_encoder.exe";
    CreateDirectoryA(tools.folder.c_str(), nullptr);
    return CopyFileW(decoder.c_str(), AnsiToWide(tools.decoder).c_str(), FALSE) &&
           CopyFileW(encoder.c_str(), AnsiToWide(tools.encoder).c_str(), FALSE);
}

int ConvertAsSecondConverter(int count, wchar_t** argv) {
    FakeTools().decoder = WideToAnsi(argv[2]);
    FakeTools().encoder = WideToAnsi(argv[3]);
    MemoryFileQueue queue;
    for (int i = 4; i < count; ++i)
        queue.Append(WideToUtf8(argv[i]).c_str());
    RunConversionQueue(FakeToolSettings("", "", ""), queue);
    return queue.Entries().empty() ? 0 : 1;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count >= 4 && std::wstring(argv[1]) == L"--convert")
        return ConvertAsSecondConverter(count, argv);
    if (count != 3) {
        std::printf("usage: wine_run_tests fake_decoder.exe fake_encoder.exe\n");
        return 2;
    }
    const bool copied =
        CopyFakeTools(WindowsPathOfArgument(argv[1]), WindowsPathOfArgument(argv[2]));
    LocalFree(argv);
    if (!copied) {
        std::printf("cannot copy the fake tools to %s\n", FakeTools().folder.c_str());
        return 2;
    }
    std::printf("ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
    const int result = self_check::RunAll();
    SetCurrentDirectoryA("C:\\");
    RemoveTree(AnsiToWide(FakeTools().folder));
    return result;
}
