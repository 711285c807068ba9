#include "folder_walk.h"

#include "file_queue.h"
#include "file_system.h"
#include "path_buffer.h"

namespace {

class DropWalker {
public:
    DropWalker(const std::atomic<bool>& stop, const FoundFileSink& found, int& tooLong)
        : m_stop(stop), m_found(found), m_tooLong(tooLong) {}

    void File(const std::string& path, int foldersKept) {
        if (!IsMusepackFileName(path.c_str()))
            return;
        if (Utf16Length(path) > PathBuffer::kMaxLength)
            ++m_tooLong;
        else
            m_found({path, foldersKept});
    }

    // Depth first, so that the list grows in the order it will show.
    void Folder(const std::string& folder, int foldersKept) {
        std::vector<FolderEntry> items;
        if (m_stop || !ListFolder(folder, items))
            return;
        std::vector<std::string> files, folders;
        for (FolderEntry& item : items)
            (item.isFolder ? folders : files).push_back(std::move(item.name));
        SortAsExplorer(files);
        SortAsExplorer(folders);
        for (const std::string& name : files) {
            if (m_stop)
                return;
            File(ChildPath(folder, name), foldersKept);
        }
        for (const std::string& name : folders)
            Folder(ChildPath(folder, name), foldersKept + 1);
    }

private:
    const std::atomic<bool>& m_stop;
    const FoundFileSink& m_found;
    int& m_tooLong;
};

}  // namespace

// Names under a folder that is not there are not there either: the highest
// such folder is remembered, so a drop of names from a missing drive asks
// for it once.
bool DroppedFolderTest::InMissingFolder(const std::string& folder) {
    if (!m_missing.empty() && folder.compare(0, m_missing.size(), m_missing) == 0 &&
        (folder.size() == m_missing.size() || folder[m_missing.size()] == '\\' ||
         folder[m_missing.size()] == '/' || m_missing.back() == '\\' || m_missing.back() == '/'))
        return true;
    if (::IsFolder(folder))
        return false;
    m_missing = folder;
    for (;;) {
        const std::size_t cut = m_missing.find_last_of("\\/", m_missing.size() - 2);
        if (cut == std::string::npos)
            break;
        const std::string above =
            m_missing.substr(0, cut == 0 || m_missing[cut - 1] == ':' ? cut + 1 : cut);
        if (above == m_missing || ::IsFolder(above))
            break;
        m_missing = above;
    }
    return true;
}

bool DroppedFolderTest::IsFolder(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    const bool share = path.compare(0, 2, "\\\\") == 0 && path.find('\\', 2) == cut;
    if (cut == std::string::npos || cut + 1 == path.size() || share)
        return ::IsFolder(path);  // a drive, a share or a name without a folder
    const bool inRoot = cut == 0 || path[cut - 1] == ':';
    const std::string parent = path.substr(0, inRoot ? cut + 1 : cut);
    if (parent != m_parent) {
        m_parent = parent;
        m_folders.clear();
        m_files.clear();
        std::vector<FolderEntry> entries;
        m_parentMissing = InMissingFolder(parent);
        if (!m_parentMissing)
            ListFolder(parent, entries);
        for (const FolderEntry& entry : entries)
            (entry.isFolder ? m_folders : m_files).insert(FileNameKey(entry.name));
    }
    if (m_parentMissing)
        return false;  // nor is anything in it
    const std::string key = FileNameKey(path.substr(cut + 1));
    if (m_folders.count(key) != 0)
        return true;
    return m_files.count(key) == 0 && ::IsFolder(path);
}

void WalkDrop(const std::vector<std::string>& dropped, const std::atomic<bool>& stop,
              const FoundFileSink& found, int& tooLong) {
    DropWalker walker(stop, found, tooLong);
    DroppedFolderTest folders;
    for (const std::string& name : dropped) {
        if (stop)
            return;
        if (folders.IsFolder(name))
            walker.Folder(name, IsDriveRoot(name) ? 0 : 1);
        else
            walker.File(name, 0);
    }
}
