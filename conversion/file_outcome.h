#pragma once

#include <cstdint>
#include <map>
#include <string>

// What the file system says of one file at one moment.
struct FileState {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;  // last write, in the file system's own units
};

// True when the file came into being or changed between the two looks.
bool WroteFile(const FileState& before, const FileState& after);

// The MP3 files one run has converted, by name as Windows compares names, and
// the input each came from, so that no file of a run overwrites another's.
class RunOutputs {
public:
    enum class Claim {
        Free,        // no file of this run made it: convert
        SameInput,   // an earlier entry of the same input made it: done already
        OtherInput,  // another input made it: do not run, keep the entry
    };
    Claim Check(const std::string& outputKey, const std::string& inputKey) const;
    void Add(const std::string& outputKey, const std::string& inputKey);

private:
    std::map<std::string, std::string> m_inputByOutput;
};
