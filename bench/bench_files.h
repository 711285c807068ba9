#pragma once

#include <string>
#include <vector>

// Full Windows paths of the files in `directory` matching `pattern` ("*.mpc").
std::vector<std::string> ListFiles(const std::string& directory, const char* pattern);

// How many of `paths` exist as non-empty files; each one found is deleted
// when `remove` is set.
int CountNonEmptyFiles(const std::vector<std::string>& paths, bool remove);

// How many of `paths` exist as files, empty or not.
int CountExistingFiles(const std::vector<std::string>& paths);

bool WriteTextFile(const char* name, const std::vector<std::string>& lines);

std::string FullPath(const std::string& relative);
