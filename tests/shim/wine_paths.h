#pragma once

// Translation between Windows paths and the Unix paths of the machine Wine
// runs on, through Wine's own kernel32 extensions.

#include <string>

// The Unix path (UTF-8) for a Windows path, or "" when Wine cannot map it or
// this is not Wine.
std::string UnixPathOf(const std::wstring& windowsPath);

// The Windows path for a Unix path, or "" when Wine cannot map it.
std::wstring WindowsPathOf(const std::string& unixPath);

// "C:\..." or "C:/...": an argument the Linux tool could not open as it is.
bool IsDrivePath(const std::wstring& argument);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
