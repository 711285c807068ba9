#pragma once

#include <windows.h>

// The module whose resources the dialogs, the strings and the icons come
// from: the program's own, unless one is set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
