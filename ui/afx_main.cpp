// The program entry of a windowed program: hands over to AfxWinMain, which
// calls the one application object's InitInstance.
#include <windows.h>

#include "afx_winapp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
