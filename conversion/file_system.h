#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "file_outcome.h"
#include "text_kinds.h"

// The files the program works on, by UTF-8 path: the few operations whose
// Windows and POSIX forms differ. Every file the program opens is closed to
// the processes it starts.

// What separates folders in a path: a backslash on Windows.
extern const char kPathSeparator;

FileState QueryFileState(const std::string& path);
bool RemoveFile(const std::string& path);
// Moves a file over another, replacing it, across volumes too.
bool MoveFileOver(const std::string& from, const std::string& to);
// Puts the file `from` under the name `to` in the same folder as one step,
// replacing a file there even when it is read-only. False, with the system's
// words in `problem`, when it cannot: `to` is then as it was.
bool ReplaceFileByName(const std::string& from, const std::string& to, std::string& problem);
// Moves `from` over `to`, replacing `to` if it exists, as one step, in the
// current directory.
bool ReplaceFileWith(const char* from, const char* to);
std::FILE* OpenFile(const std::string& path, const char* mode);
// Makes the folder and every missing folder above it; true when it is there.
bool MakeFolders(const std::string& path);
// The names in `folder` that begin with `prefix`.
std::vector<std::string> FolderNamesStartingWith(const std::string& folder, const char* prefix);
// The path as Windows compares names: letter case does not count.
std::string FileNameKey(const std::string& path);
// The full path of a file of the current directory, as the tools see it.
AnsiText FullPathInCurrentDirectory(const char* fileName);

// A folder for the names the tools get in place of names the ANSI code page
// cannot spell: the temporary folder, by a name the ANSI code page spells
// (no final separator). False when there is none.
bool AliasFolder(std::string& folder);
// A second name for the file `from` at the new name `to`: a hard link, or
// where the volume has none (or it is another volume) a copy. False when `to`
// exists or neither can be made.
bool LinkOrCopyFile(const std::string& from, const std::string& to);

// The system's words for the last failure of a file or process call.
std::string LastSystemErrorText();
