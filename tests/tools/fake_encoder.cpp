// Stands in for the MP3 encoder; see fake_tools.h.
#include <cstdio>
#include <string>

#include "fake_tools.h"
#include "tool_common.h"

int main() {
    SetBinaryStandardStreams();
    const std::vector<std::string> arguments = ReceivedArguments();
    AppendRecord("encoder", arguments);
    if (FailureRequested("ENCODER")) {
        std::fputs("encoder: failing, as BRAMKOT_FAIL_ENCODER asks\n", stderr);
        return 3;
    }

    std::string input;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
        input.append(chunk, got);
    DelayIfRequested("ENCODER");
    char instead[MAX_PATH];
    const DWORD insteadLength = GetEnvironmentVariableA(kEncoderWritesVariable, instead, MAX_PATH);
    if (insteadLength > 0 && insteadLength < MAX_PATH) {
        input.clear();
        if (FILE* file = std::fopen(instead, "rb")) {
            while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
                input.append(chunk, got);
            std::fclose(file);
        }
    }

    FILE* output = arguments.empty() ? nullptr : std::fopen(arguments.back().c_str(), "wb");
    if (output == nullptr)
        return 4;
    const bool written = std::fwrite(input.data(), 1, input.size(), output) == input.size();
    return std::fclose(output) == 0 && written ? 0 : 5;
}
