#include "tool_alias.h"

#include "conversion_command.h"
#include "file_system.h"
#include "numbered_name.h"
#include "text_conversion.h"

namespace {

const char kAliasPrefix[] = "bramkot alias ";

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
    std::string path;
    std::unique_ptr<PathLock> lock;
    if (!TakeNumberedName(
            "alias",
            [&](int number) {
                return folder + "\\" + kAliasPrefix + std::to_string(number) + ".mpc";
            },
            [](const std::string& name) {
                const std::string mp3 = DeriveOutputPath(name, std::string());
                RemoveFile(name);
                RemoveFile(mp3);
                return !QueryFileState(name).exists && !QueryFileState(mp3).exists;
            },
            path, lock))
        return false;
    if (!ToAnsi(path, m_ansiPath) || !LinkOrCopyFile(input, path))
        return false;
    m_path = path;
    m_mp3 = DeriveOutputPath(path, std::string());
    m_lock = std::move(lock);
    return true;
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
