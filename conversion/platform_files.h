#pragma once

#include <string>

// The few operations whose Windows and POSIX forms differ.

// Moves `from` over `to`, replacing `to` if it exists, as one step.
bool ReplaceFileWith(const char* from, const char* to);

// The command that runs the batch file from the current directory: the
// command processor on Windows, the shell elsewhere (the pipeline line reads
// the same in both).
const char* BatchFileCommand();

// The command processor reads a batch file in the console (OEM) code page
// while the program's strings are in the ANSI code page. On Windows this
// converts `ansiText` accordingly; elsewhere it returns it unchanged.
std::string ToBatchFileCodePage(const std::string& ansiText);
