// Pictures of the main dialog during a run and of the About box, taken from
// the screen as the user sees them, for a person to look at. The arguments:
// the folder for main.bmp and about.bmp, and the stand-in tools.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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

// The main dialog in the middle of a run: the first file converted, the
// second in work (the stand-in decoder takes 4 s a file), then ended.
TEST_CASE(screenshots, "screenshots") {
    if (!HasCaseArguments(3))
        return;
    const std::string folder = WindowsPath(CaseArguments()[0]);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string music = "C:\\Music\\Concert";
    CreateDirectoryA("C:\\Music", nullptr);
    CreateDirectoryA(music.c_str(), nullptr);
    std::vector<std::string> inputs;
    for (const char* name :
         {"01 Overture.mpc", "02 Allegro.mpc", "03 Adagio.MPP", "04 Finale.mpc", "05 Encore.mp+"}) {
        inputs.push_back(music + "\\" + name);
        WriteFileBytes(inputs.back().c_str(), "input");
    }
    // The stand-ins where the default settings look for the tools.
    CreateDirectoryA("C:\\mppdec", nullptr);
    CreateDirectoryA("C:\\LAME", nullptr);
    CHECK(CopyFileA(WindowsPath(CaseArguments()[1]).c_str(), "C:\\mppdec\\mppdec.exe", FALSE));
    CHECK(CopyFileA(WindowsPath(CaseArguments()[2]).c_str(), "C:\\LAME\\lame.exe", FALSE));
    SetEnvironmentVariableA("BRAMKOT_DELAY_DECODER_MS", "4000");
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetWindowPos(dialog, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetControlText(dialog, IDC_FILES_AT_ONCE, "1");
        DropFiles(dialog, inputs);
        ClickButton(dialog, IDC_CONVERT);
        CHECK(WaitUntil([&] { return WindowText(dialog) == "1 of 5 - BRAMKOT"; }, 30000));
        Sync(dialog);
        Sleep(1000);
        Describe("main", dialog);
        CHECK(SaveWindowPicture(dialog, folder + "\\main.bmp"));
        ClickButton(dialog, IDC_CONVERT);  // "Stop"
        ClickButton(dialog, IDC_CONVERT);  // "End Now"
        CHECK(WaitUntil([&] { return WindowText(dialog) == "BRAMKOT"; }, 30000));

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
    SetEnvironmentVariableA("BRAMKOT_DELAY_DECODER_MS", nullptr);
    for (const std::string& input : inputs) {
        DeleteFileA(input.c_str());
        DeleteFileA((input.substr(0, input.size() - 1) + "3").c_str());
    }
    RemoveDirectoryA(music.c_str());
    RemoveDirectoryA("C:\\Music");
    DeleteFileA("C:\\mppdec\\mppdec.exe");
    DeleteFileA("C:\\LAME\\lame.exe");
    RemoveDirectoryA("C:\\mppdec");
    RemoveDirectoryA("C:\\LAME");
}
