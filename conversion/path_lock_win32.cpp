#include <windows.h>

#include <set>
#include <utility>

#include "critical_section.h"
#include "file_system.h"
#include "handle.h"
#include "path_lock.h"
#include "signal_win32.h"
#include "text_conversion.h"

namespace {

// Mutex names are case-sensitive and may hold neither a backslash nor more
// than MAX_PATH characters, so the name carries a hash of the full path as
// Windows compares names.
std::string LockName(const char* kind, const std::string& path) {
    Utf16Text wide;
    if (!ToUtf16(path, wide))
        return std::string();
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::string();
    Utf16Text full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return std::string();
    full.resize(length);
    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (unsigned char c : FileNameKey(ToUtf8(full))) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    std::string name = std::string("BRAMKOT ") + kind + ' ';
    for (int shift = 60; shift >= 0; shift -= 4)
        name += "0123456789abcdef"[hash >> shift & 15];
    return name;
}

// A thread may take a mutex it holds once more, so the locks this process
// holds are also kept here: two objects of one process never hold one lock.
class HeldLocks {
public:
    bool Has(const std::string& name) {
        const CriticalSectionLock lock(m_section);
        return m_names.count(name) != 0;
    }
    // False when the name is held already.
    bool Add(const std::string& name) {
        const CriticalSectionLock lock(m_section);
        return m_names.insert(name).second;
    }
    void Remove(const std::string& name) {
        const CriticalSectionLock lock(m_section);
        m_names.erase(name);
    }

private:
    CriticalSection m_section;
    std::set<std::string> m_names;
};

HeldLocks heldByThisProcess;  // made before the program's threads start

}  // namespace

struct PathLock::SystemLock {
    Handle mutex;
};

PathLock::PathLock(const char* kind, const std::string& path) : m_name(LockName(kind, path)) {
    if (m_name.empty())
        return;
    Handle mutex(CreateMutexA(nullptr, FALSE, m_name.c_str()));
    if (mutex)
        m_lock.reset(new SystemLock{std::move(mutex)});
}

PathLock::~PathLock() {
    if (m_lock != nullptr && m_held) {
        heldByThisProcess.Remove(m_name);
        ReleaseMutex(m_lock->mutex.Get());
    }
}

// An owner that died without releasing leaves the mutex abandoned: ours now.
bool PathLock::TryTake() {
    if (m_lock == nullptr || m_held)
        return true;
    if (heldByThisProcess.Has(m_name))
        return false;
    const HANDLE mutex = m_lock->mutex.Get();
    const DWORD waited = WaitForSingleObject(mutex, 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return false;
    if (!heldByThisProcess.Add(m_name)) {
        ReleaseMutex(mutex);
        return false;
    }
    m_held = true;
    return true;
}

// Another object of this process holds the lock: its mutex would let this
// thread in, so the wait is for that object to give it up, looked at every
// 50 ms.
bool PathLock::Take(const Signal* cancel) {
    if (m_lock == nullptr || m_held)
        return m_lock != nullptr;
    const HANDLE mutex = m_lock->mutex.Get();
    const HANDLE cancelEvent = cancel != nullptr ? EventOf(*cancel) : nullptr;
    const HANDLE handles[] = {mutex, cancelEvent};
    const DWORD count = cancelEvent != nullptr ? 2 : 1;
    for (;;) {
        if (heldByThisProcess.Has(m_name)) {
            if (cancelEvent != nullptr && WaitForSingleObject(cancelEvent, 50) == WAIT_OBJECT_0)
                return false;
            if (cancelEvent == nullptr)
                Sleep(50);
            continue;
        }
        const DWORD waited = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED_0)
            return false;
        if (heldByThisProcess.Add(m_name))
            break;
        ReleaseMutex(mutex);
    }
    m_held = true;
    return true;
}
