#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "critical_section.h"
#include "folder_walk.h"
#include "handle.h"

// Posted to the window when a walk has found files for it, and when it ends.
const UINT WM_DROP_WALK = WM_APP + 27;

// A drop that holds folders, walked on a thread of its own (a folder on a
// network share may take minutes to read): the window takes the files found
// as they come, on each WM_DROP_WALK, and may end the walk at any time.
class DropWalk {
public:
    DropWalk(HWND window, std::vector<std::string> dropped);
    ~DropWalk();  // ends the walk and waits for its thread
    DropWalk(const DropWalk&) = delete;
    DropWalk& operator=(const DropWalk&) = delete;

    // No more files are looked for; those found stay to be taken.
    void End();
    // End, and the wait for the walk's thread to stop.
    void EndAndWait();
    // Moves up to `most` of the files found and not yet taken into `files`.
    // False once the walk is over and every file has been taken.
    bool Take(std::vector<FoundFile>& files, std::size_t most);
    // Found so far, and those left out for too long a name.
    int Found() const;
    int TooLong() const;

private:
    static DWORD WINAPI Run(void* self);
    void Add(FoundFile&& file);
    void PostOnce();

    HWND m_window;
    std::vector<std::string> m_dropped;
    std::atomic<bool> m_stop{false};
    Handle m_thread;
    mutable CriticalSection m_lock;
    std::vector<FoundFile> m_waiting;  // found, not yet taken
    std::size_t m_firstWaiting = 0;
    int m_found = 0;
    int m_tooLong = 0;
    bool m_over = false;
    bool m_posted = false;  // a WM_DROP_WALK is on its way
};
