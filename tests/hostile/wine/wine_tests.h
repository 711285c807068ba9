#pragma once

#include <string>

struct FakeTools {
    std::string decoder;  // Windows paths of fake_decoder.exe and fake_encoder.exe
    std::string encoder;
};

void RunHostileRunTests(const FakeTools& tools);
void RunHostileSettingsTests();
