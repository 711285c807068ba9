#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "batch_expansion.h"
#include "file_outcome.h"

// The few operations whose Windows and POSIX forms differ. List entries and
// the paths made from them are UTF-8 here; the settings, the batch line and
// the environment are in the ANSI code page, as the tools read them.

// Moves `from` over `to`, replacing `to` if it exists, as one step.
bool ReplaceFileWith(const char* from, const char* to);

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

// An environment variable as the command processor sees it (ANSI); false when unset.
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

// A lock on a file's full path (letter case does not count) that every
// program of the session sees: it tells a file another window is working on
// from one an ended run left behind. The holder that ends, however it ends,
// gives it up. Where there are no such locks, every Take succeeds.
class PathLock {
public:
    PathLock(const char* kind, const std::string& path);
    ~PathLock();
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;

    // True when this object holds the lock now; false when another holder has it.
    bool TryTake();
    // Waits for the lock; false when `cancel` (an event handle on Windows, or
    // null) is set first or no lock can be made.
    bool Take(void* cancel);

private:
    std::string m_name;
    void* m_lock = nullptr;
    bool m_held = false;
};

// The names in `folder` (UTF-8) that begin with `prefix`.
std::vector<std::string> FolderNamesStartingWith(const std::string& folder, const char* prefix);

// The system's words for the last failure of a file or process call (UTF-8).
std::string LastSystemErrorText();
