#pragma once

// The dialog templates as the program must have them, for checking the
// compiled templates and the controls' places on the screen.

#include <windows.h>

struct ExpectedControl {
    int id;
    const char* className;  // as the template names it
    const char* text;       // null for an ordinal (the icon)
    int x, y, cx, cy;
    DWORD style;  // with WS_CHILD | WS_VISIBLE
};

struct ExpectedDialog {
    int id;
    const char* caption;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    const ExpectedControl* controls;
    int controlCount;
};

extern const ExpectedDialog kMainDialog;
extern const ExpectedDialog kAboutDialog;
extern const ExpectedDialog kReportDialog;
