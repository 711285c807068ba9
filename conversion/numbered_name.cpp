#include "numbered_name.h"

namespace {

constexpr int kNamesToTry = 100000;

}  // namespace

bool TakeNumberedName(const char* lockKind, const std::function<std::string(int)>& nameOf,
                      const std::function<bool(const std::string&)>& clear, std::string& name,
                      std::unique_ptr<PathLock>& lock) {
    for (int number = 1; number <= kNamesToTry; ++number) {
        const std::string path = nameOf(number);
        std::unique_ptr<PathLock> taken(new PathLock(lockKind, path));
        if (!taken->TryTake() || !clear(path))
            continue;
        name = path;
        lock = std::move(taken);
        return true;
    }
    return false;
}
