#include "afx_string.h"

#include <cstring>

#include "afx_module.h"

CString& CString::operator=(const char* text) {
    m_text = text != nullptr ? text : "";
    return *this;
}

char* CString::GetBuffer(int minLength) {
    if (minLength < GetLength())
        minLength = GetLength();
    m_text.resize(static_cast<std::size_t>(minLength) + 1);
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(static_cast<std::size_t>(newLength));
}

BOOL CString::LoadString(UINT id) {
    // LoadStringA cuts the text to the buffer, so grow until it fits.
    for (int size = 256;; size *= 2) {
        const int length = ::LoadStringA(AfxGetResourceHandle(), id, GetBuffer(size), size + 1);
        if (length < size) {
            ReleaseBuffer(length > 0 ? length : 0);
            return length > 0;
        }
    }
}
