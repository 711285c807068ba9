#pragma once

#include <memory>
#include <string>

#include "path_lock.h"
#include "text_kinds.h"

// A second name for a Musepack file whose own name the ANSI code page cannot
// spell, so that tools which take their arguments from the ANSI command line
// can open it: a hard link (or a copy) "bramkot alias N.mpc" in the temporary
// folder, whose MP3 the encoder then writes beside it. Both are gone when the
// alias is. Each alias holds a lock of its name while it lives, so that a
// run can tell the aliases other windows are using from those a run that
// ended mid-file left behind.
class ToolAlias {
public:
    ToolAlias() = default;
    ~ToolAlias();
    ToolAlias(const ToolAlias&) = delete;
    ToolAlias& operator=(const ToolAlias&) = delete;

    // False when no alias can be made (no folder the tools can spell, or the
    // input cannot be linked or copied).
    bool Make(const std::string& input);

    const AnsiText& AnsiPath() const { return m_ansiPath; }

private:
    std::string m_path;  // UTF-8
    AnsiText m_ansiPath;
    std::string m_mp3;  // UTF-8
    std::unique_ptr<PathLock> m_lock;
};

// Removes the aliases in the temporary folder that no running program holds.
void ReclaimToolAliases();
