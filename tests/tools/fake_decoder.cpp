// Stands in for the Musepack decoder; see fake_tools.h.
#include <cstdio>
#include <cstring>

#include "fake_tools.h"
#include "tool_common.h"

int main() {
    SetBinaryStandardStreams();
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
    const std::string bytes = FakeDecoderOutput();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        return 5;
    return std::fflush(stdout) == 0 ? 0 : 5;
}
