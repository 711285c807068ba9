#include "tool_alias.h"

#include "conversion_command.h"
#include "file_system.h"
#include "text_conversion.h"

namespace {

const char kAliasPrefix[] = "bramkot alias ";
// Names are taken from 1 up; only aliases in use hold one, so a run finds a
// free name among the first few.
constexpr int kNamesToTry = 100000;

// The lock of both names of an alias is that of its ".mpc" name.
std::string AliasOfName(const std::string& folder, const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return folder + "\\" + (dot == std::string::npos ? name : name.substr(0, dot)) + ".mpc";
}

}  // namespace

// Every alias ends in ".mpc", so no two of them share an MP3 name.
bool ToolAlias::Make(const std::string& input) {
    std::string folder;
    if (!AliasFolder(folder))
        return false;
    for (int number = 1; number <= kNamesToTry; ++number) {
        const std::string path = folder + "\\" + kAliasPrefix + std::to_string(number) + ".mpc";
        const std::string mp3 = DeriveOutputPath(path, std::string());
        std::unique_ptr<PathLock> lock(new PathLock("alias", path));
        if (!lock->TryTake())
            continue;
        // Names no holder has are leftovers of a run that ended mid-file.
        RemoveFile(path);
        RemoveFile(mp3);
        if (QueryFileState(path).exists || QueryFileState(mp3).exists)
            continue;
        if (!ToAnsi(path, m_ansiPath) || !LinkOrCopyFile(input, path))
            return false;
        m_path = path;
        m_mp3 = mp3;
        m_lock = std::move(lock);
        return true;
    }
    return false;
}

ToolAlias::~ToolAlias() {
    if (m_path.empty())
        return;
    RemoveFile(m_path);
    RemoveFile(m_mp3);
}

void ReclaimToolAliases() {
    std::string folder;
    if (!AliasFolder(folder))
        return;
    for (const std::string& name : FolderNamesStartingWith(folder, kAliasPrefix)) {
        PathLock lock("alias", AliasOfName(folder, name));
        if (lock.TryTake())
            RemoveFile(folder + "\\" + name);
    }
}
