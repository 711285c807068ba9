/* The least windowed program: one visible top-level window and a message
   loop. Its start-up time is the floor under the program's own. */
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    WNDCLASSA windowClass = {0};
    MSG message;
    (void)previous;
    (void)commandLine;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "EmptyWindow";
    RegisterClassA(&windowClass);
    ShowWindow(CreateWindowA("EmptyWindow", "EMPTY WINDOW", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                             NULL, NULL, instance, NULL),
               show);
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
