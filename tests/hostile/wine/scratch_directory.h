#pragma once

#include <string>

#include "test_files.h"

// A fresh, empty current directory for one test, removed with everything in
// it when the object goes.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_previous;
    std::string m_path;
};
