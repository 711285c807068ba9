#include "afx_drop.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace {

// The length of the name list at the start of `text`, up to and with the NUL
// of its last name. The first name counts even when empty; the list ends at
// the next empty name or at the end of the block, and a name the block cuts
// off is not part of it. DragQueryFileA counts the names the same way.
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

// The conversion DragQueryFileA applies to the names of a wide block. Every
// NUL stays a NUL and no other character becomes one, so the names keep their
// places in the list.
std::string ToAnsi(const wchar_t* wide, std::size_t length) {
    const int count = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, count, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
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

void CDropFiles::ReadNames(const char* list, std::size_t bytes, bool wide) {
    if (wide) {
        // Copied first: the names need not stand on an even address. A
        // wstring here would link about 38 KB of the C++ runtime in.
        std::vector<wchar_t> text(bytes / sizeof(wchar_t));
        if (!text.empty())
            std::memcpy(text.data(), list, text.size() * sizeof(wchar_t));
        m_names = ToAnsi(text.data(), NameListLength(text.data(), text.size()));
    } else {
        m_names.assign(list, NameListLength(list, bytes));
    }
    for (std::size_t start = 0; start < m_names.size(); start = m_names.find('\0', start) + 1)
        m_starts.push_back(start);
}

UINT CDropFiles::GetCount() const {
    if (!m_read)
        return DragQueryFileA(m_drop, 0xFFFFFFFF, nullptr, 0);
    return static_cast<UINT>(m_starts.size());
}

UINT CDropFiles::QueryFile(UINT index, char* buffer, UINT size) const {
    if (!m_read)
        return DragQueryFileA(m_drop, index, buffer, size);
    if (index >= m_starts.size())
        return 0;
    const std::size_t start = m_starts[index];
    const std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_names.size();
    const std::size_t length = end - 1 - start;
    if (buffer == nullptr || size == 0)
        return static_cast<UINT>(length);
    if (length == 0)
        return 0;
    const std::size_t copied = std::min<std::size_t>(length, size - 1);
    std::memcpy(buffer, m_names.data() + start, copied);
    buffer[copied] = '\0';
    return static_cast<UINT>(copied);
}
