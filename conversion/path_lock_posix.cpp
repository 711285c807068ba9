// No other program shares a lock here; within the process TryTake has one
// holder at a time, as on Windows, and Take succeeds without waiting.
#include <mutex>
#include <set>

#include "path_lock.h"

struct PathLock::SystemLock {};

namespace {

std::mutex heldSection;
std::set<std::string> held;

}  // namespace

PathLock::PathLock(const char* kind, const std::string& path)
    : m_name(std::string(kind) + ' ' + path) {}

PathLock::~PathLock() {
    if (!m_held)
        return;
    const std::lock_guard<std::mutex> lock(heldSection);
    held.erase(m_name);
}

bool PathLock::TryTake() {
    if (m_held)
        return true;
    const std::lock_guard<std::mutex> lock(heldSection);
    m_held = held.insert(m_name).second;
    return m_held;
}

bool PathLock::Take(const Signal*) {
    return true;
}
