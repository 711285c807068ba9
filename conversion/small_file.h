#pragma once

#include <string>

// Writes `bytes` to the file `name` (created or truncated; `mode` "wb", or
// "wt" for the C runtime's line ends) and counts the write only when every
// byte reached the file: a file cut short by a full disk is removed and
// false returned, with the system's words in `problem`.
bool WriteSmallFile(const char* name, const std::string& bytes, const char* mode,
                    std::string& problem);
