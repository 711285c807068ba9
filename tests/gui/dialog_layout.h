#pragma once

#include <windows.h>

// Checks the layout of a dialog as it shows: every control lies inside the
// client area and no two controls overlap, but for a group box around the
// controls it frames.
void CheckLayout(HWND dialog);
