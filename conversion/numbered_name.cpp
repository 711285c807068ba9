#include "numbered_name.h"

#include "file_system.h"

namespace {

constexpr int kNamesToTry = 100000;

}  // namespace

bool TakeNumberedName(const char* lockKind, const std::function<std::string(int)>& nameOf,
                      const std::function<std::vector<std::string>(const std::string&)>& leftovers,
                      std::string& name, std::unique_ptr<PathLock>& lock) {
    for (int number = 1; number <= kNamesToTry; ++number) {
        const std::string path = nameOf(number);
        std::unique_ptr<PathLock> taken(new PathLock(lockKind, path));
        if (!taken->TryTake())
            continue;
        bool cleared = true;
        for (const std::string& leftover : leftovers(path)) {
            RemoveFile(leftover);
            cleared = cleared && !QueryFileState(leftover).exists;
        }
        if (!cleared)
            continue;
        name = path;
        lock = std::move(taken);
        return true;
    }
    return false;
}
