// Pictures of the main dialog with a few files listed and of the About box,
// taken from the screen as the user sees them, for a person to look at.
// The argument is the folder for main.bmp and about.bmp.
#include <windows.h>

#include <cstdio>
#include <string>

#include "converter_dlg.h"
#include "gui_test.h"
#include "resource.h"

namespace {

// Saves the screen area of `window` (frame included) as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& file) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::string bits(rowBytes * static_cast<DWORD>(height), '\0');
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), &bits[0],
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(bits.size());
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr)
        return false;
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(bits.data(), 1, bits.size(), out);
    return std::fclose(out) == 0;
}

void Describe(const char* name, HWND window) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    std::printf("%s: window %ldx%ld at %ld,%ld, client %ldx%ld\n", name, frame.right - frame.left,
                frame.bottom - frame.top, frame.left, frame.top, client.right, client.bottom);
}

}  // namespace

GUI_CASE(screenshots) {
    CHECK_EQ_INT(CaseArguments().size(), 1);
    if (CaseArguments().size() != 1)
        return;
    const std::string folder = WindowsPath(CaseArguments()[0]);
    CreateDirectoryA(folder.c_str(), nullptr);
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetWindowPos(dialog, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        DropFiles(dialog,
                  {"C:\\Music\\Concert\\01 Overture.mpc", "C:\\Music\\Concert\\02 Allegro.mpc",
                   "C:\\Music\\Concert\\03 Adagio.MPP", "D:\\Live\\encore.mp+"});
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        SendMessageA(list, LB_SETSEL, TRUE, 1);
        Sync(dialog);
        Sleep(1000);
        Describe("main", dialog);
        CHECK(SaveWindowPicture(dialog, folder + "\\main.bmp"));

        PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND about = WaitForDialog("About BRAMKOT");
        CHECK(about != nullptr);
        if (about == nullptr)
            return;
        Sync(about);
        Sleep(1000);
        Describe("about", about);
        CHECK(SaveWindowPicture(about, folder + "\\about.bmp"));
        ClickButton(about, IDOK);
        WaitUntil([&] { return !IsWindow(about); });
    });
}
