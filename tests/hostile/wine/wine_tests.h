#pragma once

#include <string>

// The Windows paths of fake_decoder.exe and fake_encoder.exe, from the
// command line.
struct FakeToolPaths {
    std::string decoder;
    std::string encoder;
};
const FakeToolPaths& ToolPaths();
