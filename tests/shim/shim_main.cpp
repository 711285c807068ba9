// A Windows console program that stands in for a Linux command-line tool
// under Wine (see shim_config.h for which one): it hands its arguments on,
// with drive paths turned into Unix paths, waits for the tool and returns the
// tool's exit code.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "linux_run.h"
#include "shim_config.h"
#include "wine_paths.h"

namespace {

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
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        command.arguments.push_back(ForLinux(argv[i]));
    LocalFree(argv);
    return RunLinuxCommand(command);
}
