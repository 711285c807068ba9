#pragma once

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <vector>

// What a drop adds to the list when it holds folders: every Musepack file
// under each dropped folder, at every depth, each folder's files first and
// then its subfolders, both in the order Explorer shows names. The drop's
// order holds: a dropped folder's files take its place among dropped files.

// One Musepack file the walk found.
struct FoundFile {
    std::string path;  // UTF-8
    // How many folders of its path its MP3 keeps under the output directory:
    // the dropped folder's own name and those below it (0 for a file dropped
    // by itself; a dropped drive has no name of its own).
    int foldersKept = 0;
};

// Receives each file as the walk finds it.
using FoundFileSink = std::function<void(FoundFile&& file)>;

// Walks the dropped names in order until `stop` is set. Musepack names longer
// than a list entry may be (PathBuffer) are counted in `tooLong`, not found.
void WalkDrop(const std::vector<std::string>& dropped, const std::atomic<bool>& stop,
              const FoundFileSink& found, int& tooLong);

// Tells which dropped names are folders. A drop from Explorer comes from one
// folder: that folder is read once, where asking for each of 20,000 names
// takes longer than listing them. Names it does not hold (hidden ones, links)
// are asked for one by one.
class DroppedFolderTest {
public:
    bool IsFolder(const std::string& path);

private:
    bool InMissingFolder(const std::string& folder);

    std::string m_parent;  // the folder last read
    bool m_parentMissing = false;
    std::string m_missing;                     // the highest missing folder met
    std::set<std::string> m_folders, m_files;  // its names, as Windows compares them
};

// The system's part (folder_walk_win32.cpp, folder_walk_posix.cpp).

// One name in a folder.
struct FolderEntry {
    std::string name;  // UTF-8, without the folder
    bool isFolder = false;
};

// The names in `folder` a walk may use: neither hidden nor system ones, and
// no folder that is a link to somewhere else (a junction or a symbolic
// link), so that a walk never loops. False when the folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& items);
bool IsFolder(const std::string& path);
std::string ChildPath(const std::string& folder, const std::string& name);
// True when the path names a whole drive ("D:\"), which has no name of its own.
bool IsDriveRoot(const std::string& path);
// Sorts names as Explorer does: letter case aside, numbers by their value
// ("2 Song" before "10 Song").
void SortAsExplorer(std::vector<std::string>& names);
