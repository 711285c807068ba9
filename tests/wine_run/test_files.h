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
// The names in `folder` (without "." and ".."), UTF-8, sorted.
std::vector<std::string> FolderNames(const std::wstring& folder);
void RemoveTree(const std::wstring& path);
