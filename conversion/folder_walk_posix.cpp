// The walk's system part for the native tests: names beginning with a dot
// are the hidden ones, and symbolic links to folders are not followed.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "folder_walk.h"

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& items) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        struct stat status;
        if (lstat(ChildPath(folder, name).c_str(), &status) != 0)
            continue;
        if (S_ISLNK(status.st_mode)) {
            struct stat target;
            if (stat(ChildPath(folder, name).c_str(), &target) != 0 || S_ISDIR(target.st_mode))
                continue;
        }
        items.push_back({name, S_ISDIR(status.st_mode)});
    }
    closedir(dir);
    return true;
}

bool IsFolder(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string ChildPath(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool IsDriveRoot(const std::string& path) {
    return path == "/";
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Runs of digits compare by value, the rest letter by letter without case.
bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            const std::string numberA = a.substr(i, endA - i), numberB = b.substr(j, endB - j);
            const std::size_t zerosA = numberA.find_first_not_of('0');
            const std::size_t zerosB = numberB.find_first_not_of('0');
            const std::string valueA = zerosA == std::string::npos ? "" : numberA.substr(zerosA);
            const std::string valueB = zerosB == std::string::npos ? "" : numberB.substr(zerosB);
            if (valueA.size() != valueB.size())
                return valueA.size() < valueB.size();
            if (valueA != valueB)
                return valueA < valueB;
            i = endA;
            j = endB;
            continue;
        }
        const int lowerA = std::tolower(static_cast<unsigned char>(a[i]));
        const int lowerB = std::tolower(static_cast<unsigned char>(b[j]));
        if (lowerA != lowerB)
            return lowerA < lowerB;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

void SortAsExplorer(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), NaturalLess);
}
