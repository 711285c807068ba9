#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>
#include <vector>

// The names of a shell drop (WM_DROPFILES), read from its DROPFILES block in
// one pass. DragQueryFileA walks the block from its first name on every call,
// so asking it for each name of a drop of 20,000 takes seconds. This object
// answers as DragQueryFileA does: names of a wide block in the ANSI code page
// (best-fit letters, "?" for what it cannot spell), cut to the caller's buffer.
// It reads nothing past the block's end; a handle it cannot lock is left to
// DragQueryFileA itself.
class CDropFiles {
public:
    explicit CDropFiles(HDROP drop);

    UINT GetCount() const;
    // As DragQueryFileA(drop, index, buffer, size): copies the name, cut to
    // size - 1 characters, and a NUL; returns the characters copied, 0 for no
    // such name or an empty one (and then leaves the buffer alone).
    UINT QueryFile(UINT index, char* buffer, UINT size) const;

private:
    void ReadNames(const char* list, std::size_t bytes, bool wide);

    HDROP m_drop;
    bool m_read = false;
    std::string m_names;                // the names in ANSI, each ending in NUL
    std::vector<std::size_t> m_starts;  // where each name begins in m_names
};
