#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

void FuzzFail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

namespace {

char g_directory[64];

void RemovePrivateDirectory() {
    for (const char* name : {"bramkot.ini", "bramkot.ini.new", "bramkot.bat"})
        unlink(name);
    rmdir(g_directory);
}

}  // namespace

void EnterPrivateDirectory() {
    static bool entered = false;
    if (entered)
        return;
    // Memory-backed when the machine has it: every run writes and renames files.
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::snprintf(g_directory, sizeof g_directory, "%s/bramkot-fuzz-XXXXXX", base);
    FuzzCheck(mkdtemp(g_directory) != nullptr, "mkdtemp");
    FuzzCheck(chdir(g_directory) == 0, "chdir");
    std::atexit(RemovePrivateDirectory);
    entered = true;
}
