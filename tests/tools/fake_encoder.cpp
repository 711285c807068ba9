// Stands in for the MP3 encoder; see fake_tools.h.
#include <cstdio>
#include <string>

#include "fake_tools.h"
#include "tool_common.h"

int main() {
    SetBinaryStandardStreams();
    const std::vector<std::wstring> arguments = ReceivedArguments();
    AppendRecord("encoder", arguments);
    if (FailureRequested("ENCODER"))
        return 3;

    std::string input;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
        input.append(chunk, got);
    DelayIfRequested("ENCODER");

    if (arguments.empty())
        return 4;
    HANDLE output = CreateFileW(arguments.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return 4;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(output, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    CloseHandle(output);
    return ok && written == input.size() ? 0 : 5;
}
