#pragma once

#include <string>

#include "batch_expansion.h"
#include "conversion_command.h"
#include "conversion_settings.h"
#include "text_kinds.h"

// One pipeline as it will run: its line in the ANSI code page and, when the
// batch file's code page cannot spell that line, the variables it reads the
// dropped name from instead.
struct ToolRun {
    AnsiText line;
    VariableCommand variables;
    std::string output;  // UTF-8: the MP3 file the encoder writes
};

// What the turn of one entry will run, worked out before any file is
// touched: a function of the settings, the entry and the environment alone.
struct FilePlan {
    bool spelled = false;  // the ANSI code page spells the entry
    AnsiText ansiInput;    // the entry in ANSI, when spelled
    std::string mp3;       // UTF-8: the MP3's true name, as the command processor expands it
    ToolRun tools;         // when spelled: the line that writes that name
};

// The batch file of a slot, as the command processor's %0 names it.
BatchFile BatchFileOfSlot(int slot);

// The output directory as the command processor uses it (UTF-8, with its
// backslash), for MP3 files whose name no line holds.
std::string ExpandedOutputFolder(const ConversionSettings& settings);

// `outputFolder` is ExpandedOutputFolder's.
FilePlan PlanFile(const ConversionSettings& settings, const std::string& entry, int foldersKept,
                  const BatchFile& batch, const std::string& outputFolder);

// The line once the file has a work file (UTF-8) beside its MP3: the encoder
// writes the work file. With `alias` (the entry's second name, when ANSI
// cannot spell the entry), the tools read the alias, and where ANSI cannot
// spell the work file either the encoder writes beside the alias.
ToolRun PlanToolsWriting(const ConversionSettings& settings, const FilePlan& plan,
                         const std::string& work, const AnsiText* alias, const BatchFile& batch);
