#pragma once

#include <string>

// A lock on a file's full path (letter case does not count) that every
// program of the session sees: the turn of a batch file, or what tells a
// file another window is working on from one an ended run left behind. The
// holder that ends, however it ends, gives it up. Where there are no such
// locks, every Take succeeds.
class PathLock {
public:
    PathLock(const char* kind, const std::string& path);  // UTF-8
    ~PathLock();
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;

    // True when this object holds the lock now; false when another holder has it.
    bool TryTake();
    // Waits for the lock; false when `cancel` (an event handle on Windows, or
    // null) is set first or no lock can be made.
    bool Take(void* cancel);

private:
    std::string m_name;
    void* m_lock = nullptr;
    bool m_held = false;
};
