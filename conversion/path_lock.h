#pragma once

#include <memory>
#include <string>

class Signal;

// A lock on a file's full path (letter case does not count) that every
// program of the session sees: the turn of a batch file, or what tells a
// file another window is working on from one an ended run left behind. The
// holder that ends, however it ends, gives it up. Where the system shares no
// such locks between programs (the native build), TryTake holds within this
// program alone and Take succeeds at once.
class PathLock {
public:
    PathLock(const char* kind, const std::string& path);  // UTF-8
    ~PathLock();
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;

    // True when this object holds the lock now; false when another holder has it.
    bool TryTake();
    // Waits for the lock; false when `cancel` (if given) is raised first or
    // no lock can be made.
    bool Take(const Signal* cancel);

private:
    struct SystemLock;  // what the system shares between programs, if anything

    std::string m_name;
    std::unique_ptr<SystemLock> m_lock;
    bool m_held = false;
};
