#pragma once

#include <string>
#include <vector>

// Full Windows paths of the files in `directory` matching `pattern` ("*.mpc").
std::vector<std::string> ListFiles(const std::string& directory, const char* pattern);

struct FileCount {
    int existing = 0;  // files, empty or not
    int nonEmpty = 0;
};

// How many of `paths` exist as files, and how many of those hold bytes.
FileCount CountFiles(const std::vector<std::string>& paths);

void DeleteFiles(const std::vector<std::string>& paths);

bool WriteTextFile(const char* name, const std::vector<std::string>& lines);

std::string FullPath(const std::string& relative);

// `count` made-up Musepack files "track NNN.mpc" of a few bytes in `folder`
// (made here), by full path: a run starts the tools only for files it can read.
std::vector<std::string> MakeInputs(const char* folder, int count);
