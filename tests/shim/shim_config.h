#pragma once

// Which Linux program a copy of the shim stands for.
//
// A side file next to the shim, named like it with ".shim" in place of
// ".exe" (mppdec.shim beside mppdec.exe), holds one setting a line:
//   program=<path of the Linux program>
//   arg=<a fixed argument put before the caller's arguments>   (repeatable)
//   stdin=relay   (the program reads standard input: when that is a Windows
//                  pipe, which a Linux program cannot inherit, the shim copies
//                  it to a file first)
// Paths may be Unix paths or Windows drive paths. Without a side file the
// shim's own name decides: mppdec runs /usr/bin/mpcdec, lame runs
// /usr/bin/lame with stdin=relay.

#include <string>
#include <vector>

struct ShimTarget {
    std::wstring program;
    std::vector<std::wstring> fixedArguments;
    bool relayStandardInput = false;
};

// False when neither a side file nor the shim's name names a program.
bool FindShimTarget(const std::wstring& shimPath, ShimTarget& target);
