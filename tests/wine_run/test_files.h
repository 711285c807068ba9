#pragma once

// File and text helpers for the Windows tests. Paths are ANSI strings, as
// the program holds them, unless a name says Wide or Utf8.

#include <string>
#include <vector>

std::wstring AnsiToWide(const std::string& ansi);
std::string WideToUtf8(const std::wstring& wide);
std::string AnsiToUtf8(const std::string& ansi);
// "" when `wide` has a character the ANSI code page lacks.
std::string WideToAnsi(const std::wstring& wide);

bool FileExists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
// The whole content, or "" (and `found` false) when it cannot be read.
std::string ReadFileBytes(const std::wstring& path, bool* found = nullptr);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The same for names as the program holds them (ANSI, relative to the
// current directory or full).
bool PathExists(const char* name);  // a file or a folder
bool FileExists(const char* name);
bool IsDirectory(const char* name);
std::string ReadFileBytes(const char* name);
bool WriteFileBytes(const char* name, const std::string& bytes);
// A Windows path for a path as the build gives it ("/x/y" becomes "Z:\x\y").
std::string WindowsPath(const std::string& path);

// The names in `folder` (without "." and ".."), UTF-8, sorted.
std::vector<std::string> FolderNames(const std::wstring& folder);
void RemoveTree(const std::wstring& path);
