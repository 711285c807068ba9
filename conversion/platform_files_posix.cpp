#include <cstdio>
#include <cstdlib>

#include "platform_files.h"

bool ReplaceFileWith(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

// The shell reads the batch file as it is written: every line can be spelled,
// so no run here takes the way through "%NAME%" variables, which is the
// command processor's.
bool ToBatchFileCodePage(const std::string& ansiText, std::string& batchText) {
    batchText = ansiText;
    return true;
}

void SetBatchVariable(const char* name, const char* value) {
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

// Runs share no lock here.
BatchFileTurn::BatchFileTurn(const char*) {}

BatchFileTurn::~BatchFileTurn() {}

const char* BatchFileCommand() {
    return "sh ./bramkot.bat";
}
