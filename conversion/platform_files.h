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
// converts `ansiText` accordingly into `batchText` and returns false when a
// character has no place in the console code page (it became "?");
// elsewhere it copies the text and returns true.
bool ToBatchFileCodePage(const std::string& ansiText, std::string& batchText);

// Sets an environment variable that the commands run by `system` inherit;
// a null `value` removes it.
void SetBatchVariable(const char* name, const char* value);

// While one lives, another process asking for the batch file of the same full
// path waits, so that programs converting in one folder take turns file by
// file. When no lock can be had, the caller goes on alone.
class BatchFileTurn {
public:
    explicit BatchFileTurn(const char* batchFileName);
    ~BatchFileTurn();
    BatchFileTurn(const BatchFileTurn&) = delete;
    BatchFileTurn& operator=(const BatchFileTurn&) = delete;

private:
    void* m_lock = nullptr;
};
