#include "work_file.h"

#include "file_system.h"
#include "mp3_finish.h"
#include "numbered_name.h"

namespace {

const char kWorkPrefix[] = "~bramkot ";
const char kWorkExtension[] = ".mp3";

std::string Beside(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + kPathSeparator + name;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.rfind(kPathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

bool WorkFile::Make(const std::string& mp3) {
    const std::string folder = FolderOf(mp3);
    if (!TakeNumberedName(
            "work file",
            [&](int number) {
                return Beside(folder, kWorkPrefix + std::to_string(number) + kWorkExtension);
            },
            [](const std::string& path) {
                RemoveFile(path);
                RemoveFile(TaggedCopyPath(path));
                return !QueryFileState(path).exists;
            },
            m_path, m_lock))
        return false;
    m_mp3 = mp3;
    return true;
}

WorkFile::~WorkFile() {
    if (m_path.empty() || m_placed)
        return;
    RemoveFile(m_path);
    RemoveFile(TaggedCopyPath(m_path));
}

bool WorkFile::PutInPlace(std::string& problem) {
    if (!ReplaceFileByName(m_path, m_mp3, problem))
        return false;
    m_placed = true;
    return true;
}

// Only names this program makes count: "~bramkot N.mp3" and its tagged copy
// "~bramkot N.mp3.bramkot-tags", which share the lock of the first.
void ReclaimWorkFiles(const std::string& folder) {
    const std::size_t prefix = sizeof kWorkPrefix - 1;
    for (const std::string& name :
         FolderNamesStartingWith(folder.empty() ? std::string(".") : folder, kWorkPrefix)) {
        std::size_t digits = prefix;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9')
            ++digits;
        const std::string workName = name.substr(0, digits) + kWorkExtension;
        if (digits == prefix || (name != workName && name != TaggedCopyPath(workName)))
            continue;
        PathLock lock("work file", Beside(folder, workName));
        if (lock.TryTake())
            RemoveFile(Beside(folder, name));
    }
}
