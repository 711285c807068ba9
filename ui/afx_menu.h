#pragma once

#include <windows.h>

// A menu handle, in the manner of MFC's CMenu. It does not own the menu.
class CMenu {
public:
    HMENU m_hMenu = nullptr;

    // A temporary object for `menu`, valid until the next call on this
    // thread; null for a null handle.
    static CMenu* FromHandle(HMENU menu);

    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, const char* newItem = nullptr);
};
