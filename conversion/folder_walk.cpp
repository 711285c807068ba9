#include "folder_walk.h"

#include "file_queue.h"
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
        std::vector<FolderItem> items;
        if (m_stop || !ListFolder(folder, items))
            return;
        std::vector<std::string> files, folders;
        for (FolderItem& item : items)
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

void WalkDrop(const std::vector<std::string>& dropped, const std::atomic<bool>& stop,
              const FoundFileSink& found, int& tooLong) {
    DropWalker walker(stop, found, tooLong);
    for (const std::string& name : dropped) {
        if (stop)
            return;
        if (IsFolder(name))
            walker.Folder(name, IsDriveRoot(name) ? 0 : 1);
        else
            walker.File(name, 0);
    }
}
