// Hostile conditions for the conversion logic with the Windows runtime and
// command processor. Usage: hostile_wine_tests <fake_decoder.exe> <fake_encoder.exe>
#include <cstdio>

#include "wine_check.h"
#include "wine_tests.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hostile_wine_tests fake_decoder.exe fake_encoder.exe\n");
        return 2;
    }
    const FakeTools tools = {WindowsPath(argv[1]), WindowsPath(argv[2])};
    RunHostileSettingsTests();
    RunHostileRunTests(tools);
    std::printf("%d passed, %d failed\n", PassedChecks(), FailedChecks());
    return FailedChecks() == 0 ? 0 : 1;
}
