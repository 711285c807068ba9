#pragma once

#include <windows.h>

#include "text_kinds.h"

// A text string of 8-bit characters (the ANSI code page, as the "A"
// functions take it) and of any length, in the manner of MFC's CString: it
// converts to `const char*` wherever one is expected.
class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text != nullptr ? text : "") {}
    CString(const AnsiText& text) : m_text(text) {}

    CString& operator=(const char* text);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    operator const char*() const { return m_text.c_str(); }
    const AnsiText& GetString() const { return m_text; }

    // Room for `minLength` characters and a NUL; ReleaseBuffer ends the
    // text at `newLength`, or at the first NUL when it is -1.
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    // Loads string resource `id` of the program; false (and empty) if there is none.
    BOOL LoadString(UINT id);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == b; }

private:
    AnsiText m_text;
};
