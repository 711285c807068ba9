#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "batch_expansion.h"
#include "text_kinds.h"

// One pipeline as the command processor runs it: a one-line batch file in the
// current directory, written, run and deleted while its name's turn is held.
struct PipelineJob {
    std::string batchFileName;  // ASCII: see BatchFileNameOfSlot
    OemText batchLine;          // without its line end
    // Given to this command processor alone, on top of the program's
    // environment.
    std::vector<std::pair<AnsiText, AnsiText>> variables;
    // The file the tools write (UTF-8): its growth, like their words and
    // their processor time, shows them at work.
    std::string outputFile;
};

enum class PipelineEnd {
    Ran,                  // the command processor ran the line; `status` is its exit code
    BatchFileNotWritten,  // nothing ran
    NotStarted,           // the batch file was written, the command processor did not start
    EndedByUser,          // ended before it finished, every process of it
    Stalled,              // ended, every process of it, after kStalledSeconds of nothing
};

// A pipeline whose processes used no processor time and printed nothing for
// this long is hung, not slow.
inline constexpr unsigned kStalledSeconds = 5 * 60;

struct PipelineResult {
    PipelineEnd end = PipelineEnd::NotStarted;
    int status = -1;
    // The last few KB the command processor and the tools wrote to standard
    // output and error, as they wrote them (ANSI programs).
    AnsiText output;
    // Why the batch file could not be written or run, in the system's words (UTF-8).
    std::string problem;
};

// Runs pipelines without blocking its caller; each runs in a slot of its own.
class PipelineRunner {
public:
    virtual ~PipelineRunner() = default;

    virtual void Start(int slot, const PipelineJob& job) = 0;
    // A pipeline that has ended since the last call; false when none has.
    virtual bool TakeEnded(int& slot, PipelineResult& result) = 0;
    // Blocks until TakeEnded has something to give.
    virtual void WaitForEnd() = 0;
    // Ends the slot's pipeline and every process it started. Harmless when
    // it has ended already.
    virtual void EndNow(int slot) = 0;
};

// The command processor's runner. `wake`, when given, is called from another
// thread each time a pipeline ends. The runner's destructor ends every
// pipeline still running and waits for it.
std::unique_ptr<PipelineRunner> MakeBatchFileRunner(std::function<void()> wake);

// The batch files' names, known here only: slot 0 runs "bramkot.bat", slot 1
// "bramkot2.bat", ...
inline std::string BatchFileNameOfSlot(int slot) {
    return slot == 0 ? std::string("bramkot.bat") : "bramkot" + std::to_string(slot + 1) + ".bat";
}

// How many processors the system has; at least 1.
int ProcessorCount();

// An environment variable as the command processor sees it; false when unset.
bool LookupBatchVariable(const AnsiText& name, AnsiText& value);
// A line of the batch file as the command processor reads it, "%" expanded
// (the shell elsewhere leaves "%" alone).
AnsiText ExpandedByCommandProcessor(const AnsiText& line, const BatchFile& batch,
                                    const BatchVariables& variables);
