#include "wine_check.h"

#include <windows.h>

#include <cstdio>

namespace {

int g_passed = 0;
int g_failed = 0;

}  // namespace

void Check(bool condition, const char* test, const std::string& what) {
    if (condition) {
        ++g_passed;
        return;
    }
    ++g_failed;
    std::printf("FAILED %s: %s\n", test, what.c_str());
    std::fflush(stdout);
}

int PassedChecks() {
    return g_passed;
}
int FailedChecks() {
    return g_failed;
}

ScratchDirectory::ScratchDirectory() {
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    m_previous = buffer;
    GetTempPathA(MAX_PATH, buffer);
    static int s_serial = 0;
    char name[64];
    std::snprintf(name, sizeof name, "bramkot-hostile-%lu-%d", GetCurrentProcessId(), ++s_serial);
    m_path = std::string(buffer) + name;
    CreateDirectoryA(m_path.c_str(), nullptr);
    SetCurrentDirectoryA(m_path.c_str());
}

ScratchDirectory::~ScratchDirectory() {
    SetCurrentDirectoryA(m_previous.c_str());
    RemoveTree(AnsiToWide(m_path));
}
