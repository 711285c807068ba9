#pragma once

#include <memory>
#include <string>

#include "path_lock.h"

// The file the encoder writes in place of an MP3's true name: "~bramkot
// N.mp3" in the MP3's own folder (a short ASCII name that every tool can
// open), on which the length check and the tags are done. Only a whole,
// tagged MP3 ever comes to the true name, in one step that replaces the MP3
// there; a program that ends in between leaves at most a work file. Each
// work file holds a lock of its name while it lives, so N is free among the
// running programs and a run tells the work files of other windows from
// those an ended run left behind. Paths in UTF-8.
class WorkFile {
public:
    WorkFile() = default;
    ~WorkFile();  // deletes the work file, unless it went to its true name
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;

    // Finds a free name beside `mp3`; false when none can be had.
    bool Make(const std::string& mp3);
    const std::string& Path() const { return m_path; }

    // Moves the work file to the MP3's true name, over the MP3 there (read
    // only or not). False, with the system's words in `problem`, when it
    // cannot: the MP3 there stays as it was.
    bool PutInPlace(std::string& problem);

private:
    std::string m_path;
    std::string m_mp3;
    std::unique_ptr<PathLock> m_lock;
    bool m_placed = false;
};

// Deletes the work files in `folder` (and their tagged copies) that no
// running program holds.
void ReclaimWorkFiles(const std::string& folder);

// The folder part of a path, without its final separator ("" for a bare name).
std::string FolderOf(const std::string& path);
