#pragma once

#include "batch_expansion.h"
#include "text_kinds.h"

// What finding a program asks of the system: the environment the command
// processor sees (PATH, PATHEXT and the variables a setting names), its
// current folder, and whether a file is there.
class ProgramPlaces : public BatchVariables {
public:
    virtual AnsiText CurrentFolder() const = 0;  // without a final backslash
    // True for a file; false for a folder or nothing.
    virtual bool IsFile(const AnsiText& path) const = 0;
};

struct ProgramSearch {
    bool found = false;
    // The program found; when none was, the path looked for (the setting
    // with "%NAME%" expanded).
    AnsiText path;
    // A name without a folder, looked for in the current folder and then
    // in the folders of PATH.
    bool bareName = false;
};

// Finds the program a tool setting names the way the command processor does
// when it runs the batch line: "%NAME%" expanded and quotes dropped; a name
// with a folder only there, a bare name in the current folder and then in
// each folder of PATH; in each place the name as typed when it has an
// extension, then the name with each extension of PATHEXT. (Where this
// finds more than the command processor would, the run still starts and the
// tools' own failure says why.)
ProgramSearch FindProgram(const AnsiText& setting, const ProgramPlaces& places);
