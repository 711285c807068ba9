#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "file_system.h"
#include "text_encoding.h"

FileState QueryFileState(const std::string& path) {
    FileState state;
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return state;
    state.exists = true;
    state.size = static_cast<std::uint64_t>(status.st_size);
    state.writeTime = static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                      static_cast<std::uint64_t>(status.st_mtim.tv_nsec);
    return state;
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

const char kPathSeparator = '/';

// A read-only file is no obstacle to rename here.
bool ReplaceFileByName(const std::string& from, const std::string& to, std::string& problem) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    problem = std::strerror(errno);
    return false;
}

bool ReplaceFileWith(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
    mkdir(path.c_str(), 0777);
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::vector<std::string> FolderNamesStartingWith(const std::string& folder, const char* prefix) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr)
        return names;
    const std::size_t length = std::strlen(prefix);
    while (const dirent* entry = readdir(directory))
        if (std::strncmp(entry->d_name, prefix, length) == 0)
            names.emplace_back(entry->d_name);
    closedir(directory);
    return names;
}

std::string FileNameKey(const std::string& path) {
    std::string key = path;
    for (char& c : key)
        c = AsciiLower(c);
    return key;
}

AnsiText FullPathInCurrentDirectory(const char* fileName) {
    char folder[4096];
    if (getcwd(folder, sizeof folder) == nullptr)
        return fileName;
    return AnsiText(folder) + '/' + fileName;
}

bool AliasFolder(std::string& folder) {
    const char* temp = std::getenv("TMPDIR");
    folder = temp != nullptr && *temp != '\0' ? temp : "/tmp";
    return true;
}

// Never asked for here (every name can be spelled); a link is enough.
bool LinkOrCopyFile(const std::string& from, const std::string& to) {
    return link(from.c_str(), to.c_str()) == 0;
}

std::string LastSystemErrorText() {
    return std::strerror(errno);
}
