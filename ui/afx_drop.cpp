#include "afx_drop.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "system_function.h"

namespace {

// The length of the name list at the start of `text`, up to and with the NUL
// of its last name. The first name counts even when empty; the list ends at
// the next empty name or at the end of the block, and a name the block cuts
// off is not part of it. DragQueryFile counts the names the same way.
template <typename Char>
std::size_t NameListLength(const Char* text, std::size_t length) {
    std::size_t end = 0;
    do {
        const Char* nul = std::find(text + end, text + length, Char(0));
        if (nul == text + length)
            break;
        end = static_cast<std::size_t>(nul - text) + 1;
    } while (end < length && text[end] != 0);
    return end;
}

}  // namespace

CDropFiles::CDropFiles(HDROP drop) : m_drop(drop) {
    const SIZE_T size = GlobalSize(drop);
    const char* block = static_cast<const char*>(GlobalLock(drop));
    if (block == nullptr)
        return;
    m_read = true;
    DROPFILES header;
    if (size >= sizeof header) {
        std::memcpy(&header, block, sizeof header);
        if (header.pFiles < size)
            ReadNames(block + header.pFiles, size - header.pFiles, header.fWide != FALSE);
    }
    GlobalUnlock(drop);
}

// A wide block's names are copied first: they need not stand on an even
// address. An ANSI block's become wide in the ANSI code page, as the shell
// reads them; every NUL stays a NUL and no other character becomes one.
void CDropFiles::ReadNames(const char* list, std::size_t bytes, bool wide) {
    if (wide) {
        m_names.resize(bytes / sizeof(wchar_t));
        if (!m_names.empty())
            std::memcpy(m_names.data(), list, m_names.size() * sizeof(wchar_t));
        m_names.resize(NameListLength(m_names.data(), m_names.size()));
    } else {
        const int length = static_cast<int>(NameListLength(list, bytes));
        const int wideLength = MultiByteToWideChar(CP_ACP, 0, list, length, nullptr, 0);
        m_names.resize(wideLength > 0 ? static_cast<std::size_t>(wideLength) : 0);
        if (!m_names.empty())
            MultiByteToWideChar(CP_ACP, 0, list, length, m_names.data(), wideLength);
    }
    for (std::size_t i = 0; i < m_names.size(); ++i)
        if (i == 0 || m_names[i - 1] == L'\0')
            m_starts.push_back(i);
}

namespace {

// The shell loads with the first drop, not with the window.
UINT ShellQueryFile(HDROP drop, UINT index, wchar_t* buffer, UINT size) {
    using QueryFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
    static const QueryFunction query =
        SystemFunction<QueryFunction>(L"shell32.dll", "DragQueryFileW");
    return query != nullptr ? query(drop, index, buffer, size) : 0;
}

}  // namespace

void FinishDrop(HDROP drop) {
    using FinishFunction = void(WINAPI*)(HDROP);
    static const FinishFunction finish =
        SystemFunction<FinishFunction>(L"shell32.dll", "DragFinish");
    if (finish != nullptr)
        finish(drop);
}

UINT CDropFiles::GetCount() const {
    if (!m_read)
        return ShellQueryFile(m_drop, 0xFFFFFFFF, nullptr, 0);
    return static_cast<UINT>(m_starts.size());
}

UINT CDropFiles::QueryFile(UINT index, wchar_t* buffer, UINT size) const {
    if (!m_read)
        return ShellQueryFile(m_drop, index, buffer, size);
    if (index >= m_starts.size())
        return 0;
    const std::size_t start = m_starts[index];
    const std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_names.size();
    const std::size_t length = end - 1 - start;
    if (buffer == nullptr || size == 0)
        return static_cast<UINT>(length);
    const std::size_t copied = std::min<std::size_t>(length, size - 1);
    std::memcpy(buffer, m_names.data() + start, copied * sizeof(wchar_t));
    buffer[copied] = L'\0';
    return static_cast<UINT>(copied);
}
