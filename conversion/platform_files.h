#pragma once

#include <cstdio>
#include <string>

#include "batch_expansion.h"
#include "file_outcome.h"

// The few operations whose Windows and POSIX forms differ. List entries and
// the paths made from them are UTF-8 here; the settings, the batch line and
// the environment are in the ANSI code page, as the tools read them.

// Moves `from` over `to`, replacing `to` if it exists, as one step.
bool ReplaceFileWith(const char* from, const char* to);

// Runs the batch file from the current directory (the command processor on
// Windows, the shell elsewhere; the pipeline line reads the same in both)
// and returns its exit status, -1 when it could not be run.
int RunBatchFile();

// A line of the batch file as the command processor reads it, "%" expanded
// (the shell elsewhere leaves "%" alone).
std::string ExpandedByCommandProcessor(const std::string& line, const BatchFile& batch,
                                       const BatchVariables& variables);

// The command processor reads a batch file in the console (OEM) code page
// while the program's strings are in the ANSI code page. On Windows this
// converts `ansiText` accordingly into `batchText` and returns false when a
// character has no place in the console code page (it became "?");
// elsewhere it copies the text and returns true.
bool ToBatchFileCodePage(const std::string& ansiText, std::string& batchText);

// The ANSI spelling of a UTF-8 text; false when the ANSI code page has no
// exact place for one of its characters (no best-fit look-alikes).
bool ToAnsiExactly(const std::string& utf8, std::string& ansi);
std::string AnsiToUtf8(const std::string& ansi);

// Sets an environment variable that the commands run by `system` inherit;
// a null `value` removes it.
void SetBatchVariable(const char* name, const char* value);
// An environment variable as those commands see it (ANSI); false when unset.
bool LookupBatchVariable(const std::string& name, std::string& value);
// The full path (ANSI) of a file of the current directory.
std::string FullPathInCurrentDirectory(const char* fileName);

// Files by UTF-8 path.
FileState QueryFileState(const std::string& path);
bool RemoveFile(const std::string& path);
// Moves a file over another, replacing it, across volumes too.
bool MoveFileOver(const std::string& from, const std::string& to);
std::FILE* OpenFile(const std::string& path, const char* mode);
// Makes the folder and every missing folder above it; true when it is there.
bool MakeFolders(const std::string& path);
// The path as Windows compares names: letter case does not count.
std::string FileNameKey(const std::string& path);

// A folder for the names the tools get in place of names the ANSI code page
// cannot spell: the temporary folder, by a name the ANSI code page spells
// (UTF-8, no final separator). False when there is none.
bool AliasFolder(std::string& folder);
// A second name for the file `from` at the new name `to`: a hard link, or
// where the volume has none (or it is another volume) a copy. False when `to`
// exists or neither can be made.
bool LinkOrCopyFile(const std::string& from, const std::string& to);

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
