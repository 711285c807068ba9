#include "tool_common.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "fake_tools.h"
#include "handle.h"
#include "wine_paths.h"

namespace {

std::string AnsiToUtf8(const std::string& ansi) {
    const int length = static_cast<int>(ansi.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], static_cast<int>(wide.size()));
    return ToUtf8(wide);
}

std::wstring Variable(const std::string& name) {
    const std::wstring wideName(name.begin(), name.end());
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value, 1024);
    if (length == 0 || length >= 1024)
        return std::wstring();
    return std::wstring(value, length);
}

}  // namespace

std::vector<std::string> ReceivedArguments() {
    return std::vector<std::string>(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
}

// On Windows both ends of the pipeline run at once and share the log, so the
// line goes out in one append-only write, retried while the other tool holds
// the file.
void AppendRecord(const char* tool, const std::vector<std::string>& arguments) {
    const std::wstring logName = Variable(kToolLogVariable);
    if (logName.empty())
        return;
    std::string line = tool;
    for (const std::string& argument : arguments)
        line += '\t' + AnsiToUtf8(argument);
    line += '\n';

    for (int attempt = 0; attempt < 200; ++attempt) {
        const Handle log(CreateFileW(logName.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (log) {
            DWORD written = 0;
            WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
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
