#pragma once

// The world of one test case: a fresh, empty current directory under the
// temporary folder, the fake tools' log in it, and no failure or delay
// switches left over from an earlier case.

#include <string>
#include <vector>

#include "conversion_settings.h"

// Where main() put copies of fake_decoder.exe and fake_encoder.exe: a folder
// whose name has spaces, parentheses and an ampersand, as "Program Files
// (x86)" paths do.
struct FakeToolCopies {
    std::string folder;  // ANSI, no final backslash
    std::string decoder;
    std::string encoder;
};
FakeToolCopies& FakeTools();

struct ToolRecord {
    std::string tool;
    std::vector<std::string> arguments;  // UTF-8
};

class CaseFolder {
public:
    explicit CaseFolder(const char* caseName);
    ~CaseFolder();
    CaseFolder(const CaseFolder&) = delete;
    CaseFolder& operator=(const CaseFolder&) = delete;

    // Full ANSI path of `relative` inside the folder.
    std::string Path(const std::string& relative) const;
    std::wstring WidePath(const std::string& relative) const;
    // Creates a subfolder and returns its full ANSI path.
    std::string MakeFolder(const std::string& relative) const;
    // Creates an input file (a few bytes, no Musepack stream) and returns its
    // full ANSI path.
    std::string MakeInput(const std::string& relative) const;

    // Every record the fake tools wrote in this case, in order.
    std::vector<ToolRecord> Records() const;
    // The records of one tool ("decoder" or "encoder").
    std::vector<ToolRecord> Records(const char* tool) const;
    bool ToolLogExists() const;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Settings that run the fake tools, one file at a time.
ConversionSettings FakeToolSettings(const std::string& decoderSwitches,
                                    const std::string& encoderSwitches,
                                    const std::string& outputDir);

// The work file the encoder writes for `mp3` when no other program works
// in its folder: "~bramkot 1.mp3" beside it.
std::string WorkFileBeside(const std::string& mp3);

// Sets an environment variable the tools inherit; "" removes it.
void SetToolVariable(const char* name, const char* value);
