#pragma once

#include <windows.h>

#include "text_kinds.h"

// The system's dialogs for choosing a path. comdlg32 and ole32 are loaded on
// first use, so the program's start does not pay for them.

// The Open dialog on programs (*.exe), opened in `startFolder` when that is
// a folder. True with the chosen file's full path.
bool ChooseProgram(HWND owner, const wchar_t* title, const Utf16Text& startFolder,
                   Utf16Text& chosen);

// The folder picker, `startFolder` selected when it is a folder. True with
// the chosen folder's full path.
bool ChooseFolder(HWND owner, const wchar_t* title, const Utf16Text& startFolder,
                  Utf16Text& chosen);

// A path as an ANSI setting holds it: as the ANSI code page spells it, or
// where it cannot, by its short name where the volume has one. False when
// neither spells it.
bool AnsiSpellingOfPath(const Utf16Text& path, AnsiText& ansi);
