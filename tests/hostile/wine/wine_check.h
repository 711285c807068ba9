#pragma once

#include <string>

#include "test_files.h"

// A tiny self-test harness: each check counts as passed or failed and a
// failure is printed with its test and what went wrong.
void Check(bool condition, const char* test, const std::string& what);
int PassedChecks();
int FailedChecks();

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
