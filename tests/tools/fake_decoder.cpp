// Stands in for the Musepack decoder; see fake_tools.h.
#include <cstdio>

#include "fake_tools.h"
#include "tool_common.h"

int main() {
    SetBinaryStandardStreams();
    AppendRecord("decoder", ReceivedArguments());
    if (FailureRequested("DECODER"))
        return 3;
    DelayIfRequested("DECODER");
    const std::string bytes = FakeDecoderOutput();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        return 5;
    return std::fflush(stdout) == 0 ? 0 : 5;
}
