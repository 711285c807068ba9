#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Runs the real main dialog in this process until it closes, and calls
// `shown` once with its window as soon as it is on the screen.
void RunMainDialog(void (*shown)(HWND dialog));

// The block the shell hands over with WM_DROPFILES: a DROPFILES header, then
// the names (ANSI), each ending in NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::string>& names);
