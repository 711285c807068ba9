#include "afx_menu.h"

CMenu* CMenu::FromHandle(HMENU menu) {
    if (menu == nullptr)
        return nullptr;
    static CMenu temporary;  // the program has one thread
    temporary.m_hMenu = menu;
    return &temporary;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, const char* newItem) {
    return ::AppendMenuA(m_hMenu, flags, idNewItem, newItem);
}
