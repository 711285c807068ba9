// Each pipeline runs on a thread of its own, which waits for its batch file's
// turn, writes the batch file, has the system run it, drains what the
// command processor and the tools print, deletes the batch file and gives
// the turn back. The caller's thread never waits for any of it, but the
// runner's destructor ends and waits for what still runs.
#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "file_system.h"
#include "path_lock.h"
#include "pipeline.h"
#include "pipeline_launcher.h"
#include "small_file.h"
#include "thread_tools.h"

namespace {

const std::size_t kKeptOutput = 8 * 1024;
// How often a running pipeline is looked at, and how long the output may
// stay open once the command processor has ended (a detached child holding
// it).
const unsigned kLookMs = 50;
const unsigned kPipeGraceMs = 1500;
const unsigned kActivityLookMs = 1000;

// What shows a pipeline at work: the processor time of its processes (where
// the system counts it: Wine does not), what it printed, the growth of the
// file it writes.
struct Activity {
    std::uint64_t processorTime = 0;
    std::uint64_t outputSize = 0;
    std::uint64_t fileSize = 0;
    std::uint64_t fileTime = 0;

    bool operator!=(const Activity& other) const {
        return processorTime != other.processorTime || outputSize != other.outputSize ||
               fileSize != other.fileSize || fileTime != other.fileTime;
    }
};

Activity ActivityOf(const LaunchedPipeline& launched, const std::string& outputFile,
                    std::uint64_t printed) {
    Activity activity;
    activity.processorTime = launched.ProcessorTime();
    activity.outputSize = printed;
    const FileState file = QueryFileState(outputFile);
    activity.fileSize = file.size;
    activity.fileTime = file.writeTime;
    return activity;
}

struct Pipeline {
    int slot = 0;
    PipelineJob job;
    Signal cancel;  // raised by EndNow
    Thread thread;
    // While it runs; set and cleared under the runner's lock.
    std::unique_ptr<LaunchedPipeline> launched;
    PipelineResult result;
};

class BatchFileRunner : public PipelineRunner {
public:
    explicit BatchFileRunner(std::function<void()> wake) : m_wake(std::move(wake)) {}

    ~BatchFileRunner() override {
        std::vector<Pipeline*> running;
        {
            const LockHold hold(m_lock);
            for (const auto& pipeline : m_running)
                running.push_back(pipeline.get());
        }
        for (Pipeline* pipeline : running)
            EndNow(pipeline->slot);
        for (Pipeline* pipeline : running)
            pipeline->thread.Join();
    }

    void Start(int slot, const PipelineJob& job) override {
        std::unique_ptr<Pipeline> made(new Pipeline);
        Pipeline* pipeline = made.get();
        pipeline->slot = slot;
        pipeline->job = job;
        {
            const LockHold hold(m_lock);
            m_running.push_back(std::move(made));
        }
        if (!pipeline->cancel.Made() || !pipeline->thread.Start([this, pipeline] {
                Run(*pipeline);
                Ended(pipeline);
            })) {
            pipeline->result.end = PipelineEnd::NotStarted;
            pipeline->result.problem = LastSystemErrorText();
            Ended(pipeline);
        }
    }

    bool TakeEnded(int& slot, PipelineResult& result) override {
        std::unique_ptr<Pipeline> pipeline;
        {
            const LockHold hold(m_lock);
            if (m_ended.empty())
                return false;
            const auto found = std::find_if(
                m_running.begin(), m_running.end(),
                [this](const std::unique_ptr<Pipeline>& p) { return p.get() == m_ended.front(); });
            pipeline = std::move(*found);
            m_running.erase(found);
            m_ended.pop_front();
        }
        slot = pipeline->slot;
        result = std::move(pipeline->result);
        // Its thread is about to return: it is waited for later, not now.
        m_taken.erase(std::remove_if(m_taken.begin(), m_taken.end(),
                                     [](const std::unique_ptr<Pipeline>& taken) {
                                         return taken->thread.Finished();
                                     }),
                      m_taken.end());
        m_taken.push_back(std::move(pipeline));
        return true;
    }

    void WaitForEnd() override {
        for (;;) {
            {
                const LockHold hold(m_lock);
                if (!m_ended.empty())
                    return;
                m_endedSignal.Lower();
            }
            m_endedSignal.Wait(kWaitForever);
        }
    }

    void EndNow(int slot) override {
        const LockHold hold(m_lock);
        for (const auto& pipeline : m_running) {
            if (pipeline->slot != slot)
                continue;
            pipeline->cancel.Raise();
            if (pipeline->launched)
                pipeline->launched->EndEveryProcess();
        }
    }

private:
    void Run(Pipeline& pipeline) {
        PipelineResult& result = pipeline.result;
        PathLock turn("batch file", pipeline.job.batchFileName);
        // Without a lock to be had the pipeline goes on alone.
        if (!turn.Take(&pipeline.cancel) && pipeline.cancel.Raised()) {
            result.end = PipelineEnd::EndedByUser;
            return;
        }
        // A batch file cut short by a full disk would run half a command.
        if (!WriteSmallFile(
                pipeline.job.batchFileName.c_str(),
                std::string(pipeline.job.batchLine.begin(), pipeline.job.batchLine.end()) + '\n',
                "wt", result.problem)) {
            result.end = PipelineEnd::BatchFileNotWritten;
            return;
        }
        RunBatchFile(pipeline);
        std::remove(pipeline.job.batchFileName.c_str());
    }

    void RunBatchFile(Pipeline& pipeline) {
        PipelineResult& result = pipeline.result;
        std::unique_ptr<LaunchedPipeline> launched = MakeLaunchedPipeline();
        if (!launched->Launch(pipeline.job)) {
            result.problem = LastSystemErrorText();
            result.end = PipelineEnd::NotStarted;
            return;
        }
        LaunchedPipeline& process = *launched;
        {
            const LockHold hold(m_lock);
            pipeline.launched = std::move(launched);
            if (pipeline.cancel.Raised())
                process.EndEveryProcess();
        }
        process.Resume();
        const bool stalled = Watch(pipeline, process);
        bool endedByUs = false;
        const int status = process.ExitStatus(endedByUs);
        {
            const LockHold hold(m_lock);
            launched = std::move(pipeline.launched);
        }
        result.end = stalled                                 ? PipelineEnd::Stalled
                     : pipeline.cancel.Raised() && endedByUs ? PipelineEnd::EndedByUser
                                                             : PipelineEnd::Ran;
        result.status = status;
    }

    // Reads what the pipeline prints until the command processor has ended
    // and every process has closed the output, or the output has had its
    // grace after that end (a detached child may hold it for its whole life:
    // it is ended). A pipeline that shows no activity for kStalledSeconds is
    // ended too; true then. Only the last few KB are kept: a tool may print
    // without end.
    bool Watch(Pipeline& pipeline, LaunchedPipeline& process) {
        AnsiText& kept = pipeline.result.output;
        unsigned lastActive = TickMilliseconds();
        unsigned lastLook = lastActive;
        unsigned endedAt = 0;
        std::uint64_t printed = 0;
        Activity activity = ActivityOf(process, pipeline.job.outputFile, printed);
        bool ended = false;
        bool stalled = false;
        for (;;) {
            const std::size_t read = process.ReadOutput(kept, kKeptOutput);
            if (read > 0) {
                printed += read;
                continue;
            }
            if (ended) {
                const unsigned waited = TickMilliseconds() - endedAt;
                if (!process.OutputOpen() || waited >= kPipeGraceMs)
                    break;
                process.WaitForOutput(kPipeGraceMs - waited);
                continue;
            }
            if (process.WaitForEnd(kLookMs, pipeline.cancel)) {
                ended = true;
                endedAt = TickMilliseconds();
                continue;
            }
            const unsigned now = TickMilliseconds();
            if (now - lastLook < kActivityLookMs)
                continue;
            lastLook = now;
            const Activity seen = ActivityOf(process, pipeline.job.outputFile, printed);
            if (seen != activity) {
                activity = seen;
                lastActive = now;
            } else if (!stalled && now - lastActive >= kStalledSeconds * 1000u) {
                stalled = true;
                const LockHold hold(m_lock);
                process.EndEveryProcess();
            }
        }
        // What still holds the output has outlived its command processor.
        if (process.OutputOpen()) {
            const LockHold hold(m_lock);
            process.EndEveryProcess();
        }
        return stalled;
    }

    void Ended(Pipeline* pipeline) {
        {
            const LockHold hold(m_lock);
            m_ended.push_back(pipeline);
        }
        m_endedSignal.Raise();
        if (m_wake)
            m_wake();
    }

    std::function<void()> m_wake;
    Lock m_lock;
    Signal m_endedSignal;
    std::vector<std::unique_ptr<Pipeline>> m_running;  // started, not yet taken
    std::deque<Pipeline*> m_ended;
    // Taken, their threads perhaps not yet gone; only TakeEnded's caller
    // touches them, and the destructor waits for them.
    std::vector<std::unique_ptr<Pipeline>> m_taken;
};

}  // namespace

std::unique_ptr<PipelineRunner> MakeBatchFileRunner(std::function<void()> wake) {
    return std::unique_ptr<PipelineRunner>(new BatchFileRunner(std::move(wake)));
}
