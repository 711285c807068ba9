#include "bench_dialog.h"

#include <shlobj.h>

#include <cstring>

#include "converter_dlg.h"

namespace {

class CBenchApp : public CWinApp {};
CBenchApp theBenchApp;

CConverterDlg* g_dialog = nullptr;
void (*g_shown)(HWND) = nullptr;

void CALLBACK CallWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = g_dialog->GetSafeHwnd();
    if (dialog == nullptr || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    g_shown(dialog);
}

}  // namespace

void RunMainDialog(void (*shown)(HWND dialog)) {
    theBenchApp.m_hInstance = GetModuleHandleA(nullptr);
    theBenchApp.Enable3dControls();
    CConverterDlg dialog;
    g_dialog = &dialog;
    g_shown = shown;
    theBenchApp.m_pMainWnd = &dialog;
    SetTimer(nullptr, 0, 20, CallWhenShown);
    dialog.DoModal();
    g_dialog = nullptr;
}

HDROP MakeDrop(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += name + '\0';
    list += '\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}
