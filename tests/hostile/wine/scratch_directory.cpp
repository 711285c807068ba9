#include "scratch_directory.h"

#include <windows.h>

#include <cstdio>

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
