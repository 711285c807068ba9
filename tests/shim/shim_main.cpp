// A Windows console program that stands in for a Linux command-line tool
// under Wine (see shim_config.h for which one). Like the usual Windows builds
// of the real tools, it reads the ANSI command line. It hands its arguments on,
// with drive paths turned into Unix paths, waits for the tool and returns the
// tool's exit code.
#include <windows.h>

#include <cstdio>

#include "linux_run.h"
#include "shim_config.h"
#include "wine_paths.h"

namespace {

std::wstring AnsiToWide(const char* ansi) {
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string ForLinux(const std::wstring& argument) {
    if (IsDrivePath(argument)) {
        const std::string unixPath = UnixPathOf(argument);
        if (!unixPath.empty())
            return unixPath;
    }
    return ToUtf8(argument);
}

}  // namespace

int main() {
    wchar_t shimPath[MAX_PATH];
    if (GetModuleFileNameW(nullptr, shimPath, MAX_PATH) == 0)
        return 125;
    ShimTarget target;
    if (!FindShimTarget(shimPath, target)) {
        std::fprintf(stderr, "shim: no Linux program for %ls\n", shimPath);
        return 125;
    }

    LinuxCommand command;
    command.program = ForLinux(target.program);
    command.relayStandardInput = target.relayStandardInput;
    for (const std::wstring& argument : target.fixedArguments)
        command.arguments.push_back(ForLinux(argument));
    // The arguments as the real tools get them: the C runtime's split of the
    // ANSI command line.
    for (int i = 1; i < __argc; ++i)
        command.arguments.push_back(ForLinux(AnsiToWide(__argv[i])));
    return RunLinuxCommand(command);
}
