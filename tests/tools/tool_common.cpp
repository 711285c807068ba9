#include "tool_common.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "fake_tools.h"
#include "wine_paths.h"

namespace {

std::wstring Variable(const std::string& name) {
    const std::wstring wideName(name.begin(), name.end());
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value, 1024);
    if (length == 0 || length >= 1024)
        return std::wstring();
    return std::wstring(value, length);
}

}  // namespace

std::vector<std::wstring> ReceivedArguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(argv[i]);
    LocalFree(argv);
    return arguments;
}

// On Windows both ends of the pipeline run at once and share the log, so the
// line goes out in one append-only write, retried while the other tool holds
// the file.
void AppendRecord(const char* tool, const std::vector<std::wstring>& arguments) {
    const std::wstring logName = Variable(kToolLogVariable);
    if (logName.empty())
        return;
    std::string line = tool;
    for (const std::wstring& argument : arguments)
        line += '\t' + ToUtf8(argument);
    line += '\n';

    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE log = CreateFileW(logName.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(log);
            return;
        }
        Sleep(10);
    }
}

bool FailureRequested(const char* upperTool) {
    return !Variable(std::string("BRAMKOT_FAIL_") + upperTool).empty();
}

void DelayIfRequested(const char* upperTool) {
    const std::wstring value = Variable(std::string("BRAMKOT_DELAY_") + upperTool + "_MS");
    if (!value.empty())
        Sleep(static_cast<DWORD>(wcstoul(value.c_str(), nullptr, 10)));
}

void SetBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}
