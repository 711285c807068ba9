#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "pipeline.h"

class Signal;

// What the runner asks of the system for one pipeline: its batch file run by
// the command processor (the shell, where there is none) and every process
// that starts, watched and ended.
class LaunchedPipeline {
public:
    virtual ~LaunchedPipeline() = default;

    // Starts `job`'s batch file, which is written; false, with the system's
    // error for LastSystemErrorText, when it does not start.
    virtual bool Launch(const PipelineJob& job) = 0;
    // It is launched held, so that it can be ended before it does anything.
    virtual void Resume() = 0;
    // Waits at most `milliseconds` for the command processor to end, or for
    // `cancel`, or (where the system can wait for it) for output; true when
    // it has ended.
    virtual bool WaitForEnd(unsigned milliseconds, const Signal& cancel) = 0;
    // Appends what it has printed since the last call without waiting, keeps
    // the last `limit` bytes of `kept`, and gives the count read.
    virtual std::size_t ReadOutput(AnsiText& kept, std::size_t limit) = 0;
    // False once every process has closed the output.
    virtual bool OutputOpen() const = 0;
    // Waits at most `milliseconds` for more output.
    virtual void WaitForOutput(unsigned milliseconds) = 0;
    // Processor time of its processes, where the system counts it.
    virtual std::uint64_t ProcessorTime() const = 0;
    // Ends every process of it; from any thread.
    virtual void EndEveryProcess() = 0;
    // Once it has ended: its exit code (-1 when it has none) and whether
    // EndEveryProcess ended it.
    virtual int ExitStatus(bool& endedByUs) = 0;
};

// The command processor of this system, not yet launched.
std::unique_ptr<LaunchedPipeline> MakeLaunchedPipeline();
