#pragma once

// What the two fake tools share: their record line, their switches from the
// environment and binary standard streams. See fake_tools.h for the contract.

#include <windows.h>

#include <string>
#include <vector>

// The arguments after the program name as an ANSI program gets them: the C
// runtime's split of the ANSI command line.
std::vector<std::string> ReceivedArguments();

// Appends "<tool>\t<arg>\t<arg>...\n" in UTF-8 to the file named by
// BRAMKOT_TOOL_LOG, if that is set.
void AppendRecord(const char* tool, const std::vector<std::string>& arguments);

// True when BRAMKOT_FAIL_<TOOL> is set to a non-empty value.
bool FailureRequested(const char* upperTool);

// Sleeps BRAMKOT_DELAY_<TOOL>_MS milliseconds, if set.
void DelayIfRequested(const char* upperTool);

void SetBinaryStandardStreams();
