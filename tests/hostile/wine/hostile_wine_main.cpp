// Hostile conditions for the conversion logic with the Windows runtime and
// command processor. Usage: hostile_wine_tests <fake_decoder.exe> <fake_encoder.exe>
#include <cstdio>

#include "self_check.h"
#include "test_files.h"
#include "wine_tests.h"

namespace {

FakeToolPaths toolPaths;

}  // namespace

const FakeToolPaths& ToolPaths() {
    return toolPaths;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hostile_wine_tests fake_decoder.exe fake_encoder.exe\n");
        return 2;
    }
    toolPaths = {WindowsPath(argv[1]), WindowsPath(argv[2])};
    return self_check::RunAll();
}
