// Stands in for the Musepack decoder; see fake_tools.h.
#include <cstdio>
#include <cstring>
#include <string>

#include "child_process.h"
#include "fake_tools.h"
#include "tool_common.h"

namespace {

const char kHeldPipe[] = "--hold-the-pipe";

// A copy of this tool that lives on, detached, with standard output (the
// pipeline's pipe) held open, as a tool's helper that outlives it does.
bool LeaveAChild() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring line = std::wstring(L"\"") + self + L"\" " +
                              std::wstring(kHeldPipe, kHeldPipe + sizeof kHeldPipe - 1);
    ChildStart how;
    how.input = GetStdHandle(STD_INPUT_HANDLE);
    how.output = GetStdHandle(STD_OUTPUT_HANDLE);
    how.error = GetStdHandle(STD_ERROR_HANDLE);
    how.flags = DETACHED_PROCESS;
    return ChildProcess().Start(line.c_str(), how);
}

// The child: after a long while, it says that it lived that long.
int HoldThePipe() {
    Sleep(30000);
    char marker[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(kChildMarkerVariable, marker, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        if (FILE* file = std::fopen(marker, "wb"))
            std::fclose(file);
    return 0;
}

}  // namespace

int main() {
    SetBinaryStandardStreams();
    if (__argc == 2 && std::strcmp(__argv[1], kHeldPipe) == 0)
        return HoldThePipe();
    const std::vector<std::string> arguments = ReceivedArguments();
    AppendRecord("decoder", arguments);
    if (FailureRequested("DECODER"))
        return 3;
    // Its input is the argument before the "-" of standard output.
    FILE* input =
        arguments.size() >= 2 ? std::fopen(arguments[arguments.size() - 2].c_str(), "rb") : nullptr;
    if (input == nullptr)
        return 2;
    char start[sizeof kCorruptInput - 1] = {};
    const bool corrupt = std::fread(start, 1, sizeof start, input) == sizeof start &&
                         std::memcmp(start, kCorruptInput, sizeof start) == 0;
    std::fclose(input);
    if (corrupt)
        return 255;
    DelayIfRequested("DECODER");
    char marker[MAX_PATH];
    if (GetEnvironmentVariableA(kChildMarkerVariable, marker, MAX_PATH) > 0 && !LeaveAChild())
        return 6;
    const std::string bytes = FakeDecoderOutput();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        return 5;
    return std::fflush(stdout) == 0 ? 0 : 5;
}
