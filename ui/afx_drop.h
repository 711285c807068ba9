#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <vector>

// The names of a shell drop (WM_DROPFILES), read from its DROPFILES block in
// one pass. DragQueryFile walks the block from its first name on every call,
// so asking it for each name of a drop of 20,000 takes seconds. This object
// answers as DragQueryFileW does: every name exactly, those of an ANSI block
// read in the ANSI code page, cut to the caller's buffer. It reads nothing
// past the block's end; a handle it cannot lock is left to DragQueryFileW.
class CDropFiles {
public:
    explicit CDropFiles(HDROP drop);

    UINT GetCount() const;
    // As DragQueryFileW(drop, index, buffer, size): copies the name, cut to
    // size - 1 characters, and a NUL; returns the characters copied, 0 for no
    // such name (and then leaves the buffer alone) or an empty one.
    UINT QueryFile(UINT index, wchar_t* buffer, UINT size) const;

private:
    void ReadNames(const char* list, std::size_t bytes, bool wide);

    HDROP m_drop;
    bool m_read = false;
    std::vector<wchar_t> m_names;       // the names, each ending in NUL
    std::vector<std::size_t> m_starts;  // where each name begins in m_names
};

// DragFinish: frees the drop's block.
void FinishDrop(HDROP drop);
