// Runs share no lock here.
#include "path_lock.h"

PathLock::PathLock(const char*, const std::string&) {}

PathLock::~PathLock() {}

bool PathLock::TryTake() {
    return true;
}

bool PathLock::Take(void*) {
    return true;
}
