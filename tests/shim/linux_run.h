#pragma once

// Runs a Linux program from inside Wine and waits for it.
//
// Wine starts a Linux program detached: CreateProcess succeeds but gives no
// process handle, so nothing can be waited on and no exit code comes back.
// The program is therefore started through /bin/sh with a script that runs
// it and then writes its exit status to a file, which is polled for.
//
// The Linux program gets the Windows standard handles as its descriptors
// when they are files. A Windows pipe does not reach it, so a pipe on
// standard output or error is relayed through a file copied to the pipe
// afterwards, and one on standard input (only when `relayStandardInput`) is
// read to its end into a file first.

#include <windows.h>

#include <string>
#include <vector>

struct LinuxCommand {
    std::string program;                 // Unix path, UTF-8
    std::vector<std::string> arguments;  // UTF-8, passed unchanged
    bool relayStandardInput = false;
};

// The program's exit status (128 + n after signal n), or 125 when it could
// not be started or never reported back.
int RunLinuxCommand(const LinuxCommand& command);

// `text` in single quotes for /bin/sh.
std::string ShellQuoted(const std::string& text);
