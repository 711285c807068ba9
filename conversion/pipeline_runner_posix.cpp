// The shell runs the batch file here; its line reads the same to the shell as
// to the command processor. Each pipeline has a thread that writes the batch
// file, runs it in a process group of its own, drains its output and deletes
// the file.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "file_system.h"
#include "pipeline.h"
#include "small_file.h"

extern char** environ;

namespace {

const std::size_t kKeptOutput = 8 * 1024;

struct Pipeline {
    int slot = 0;
    PipelineJob job;
    std::thread thread;
    pid_t group = 0;  // while it runs
    bool cancelled = false;
    PipelineResult result;
};

class ShellRunner : public PipelineRunner {
public:
    explicit ShellRunner(std::function<void()> wake) : m_wake(std::move(wake)) {}

    ~ShellRunner() override {
        std::vector<Pipeline*> running;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            running = m_running;
        }
        for (Pipeline* pipeline : running)
            EndNow(pipeline->slot);
        for (Pipeline* pipeline : running) {
            pipeline->thread.join();
            delete pipeline;
        }
    }

    void Start(int slot, const PipelineJob& job) override {
        Pipeline* pipeline = new Pipeline;
        pipeline->slot = slot;
        pipeline->job = job;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_running.push_back(pipeline);
        }
        pipeline->thread = std::thread([this, pipeline] {
            Run(*pipeline);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_ended.push_back(pipeline);
            }
            m_endedCondition.notify_all();
            if (m_wake)
                m_wake();
        });
    }

    bool TakeEnded(int& slot, PipelineResult& result) override {
        Pipeline* pipeline = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_ended.empty())
                return false;
            pipeline = m_ended.front();
            m_ended.pop_front();
            m_running.erase(std::find(m_running.begin(), m_running.end(), pipeline));
        }
        pipeline->thread.join();
        slot = pipeline->slot;
        result = pipeline->result;
        delete pipeline;
        return true;
    }

    void WaitForEnd() override {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_endedCondition.wait(lock, [this] { return !m_ended.empty(); });
    }

    void EndNow(int slot) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Pipeline* pipeline : m_running) {
            if (pipeline->slot != slot)
                continue;
            pipeline->cancelled = true;
            if (pipeline->group > 0)
                kill(-pipeline->group, SIGKILL);
        }
    }

private:
    void Run(Pipeline& pipeline) {
        PipelineResult& result = pipeline.result;
        if (!WriteSmallFile(
                pipeline.job.batchFileName.c_str(),
                std::string(pipeline.job.batchLine.begin(), pipeline.job.batchLine.end()) + '\n',
                "w", result.problem)) {
            result.end = PipelineEnd::BatchFileNotWritten;
            return;
        }
        RunShell(pipeline);
        std::remove(pipeline.job.batchFileName.c_str());
    }

    void RunShell(Pipeline& pipeline) {
        PipelineResult& result = pipeline.result;
        // Everything the child needs is made before fork: after it, only
        // calls that are safe in a copy of a threaded program.
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry)
            environment.emplace_back(*entry);
        for (const auto& variable : pipeline.job.variables)
            environment.push_back(std::string(variable.first.begin(), variable.first.end()) + '=' +
                                  std::string(variable.second.begin(), variable.second.end()));
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(&entry[0]);
        envp.push_back(nullptr);
        const std::string script = "./" + pipeline.job.batchFileName;
        char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>(script.c_str()), nullptr};
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
            result.problem = LastSystemErrorText();
            return;
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        const pid_t child = fork();
        if (child == 0) {
            setpgid(0, 0);
            const int nothing = open("/dev/null", O_RDONLY);
            dup2(nothing, 0);
            dup2(pipeEnds[1], 1);
            dup2(pipeEnds[1], 2);
            execve("/bin/sh", argv, envp.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        if (child < 0) {
            result.problem = LastSystemErrorText();
            close(pipeEnds[0]);
            return;
        }
        setpgid(child, child);
        pipeline.group = child;
        if (pipeline.cancelled)
            kill(-child, SIGKILL);
        lock.unlock();

        char chunk[4096];
        ssize_t got;
        while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
            if (got <= 0)
                continue;
            result.output.append(chunk, static_cast<std::size_t>(got));
            if (result.output.size() > 2 * kKeptOutput)
                result.output.erase(0, result.output.size() - kKeptOutput);
        }
        if (result.output.size() > kKeptOutput)
            result.output.erase(0, result.output.size() - kKeptOutput);
        close(pipeEnds[0]);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        lock.lock();
        pipeline.group = 0;
        const bool cancelled = pipeline.cancelled;
        lock.unlock();
        if (cancelled && WIFSIGNALED(status)) {
            result.end = PipelineEnd::EndedByUser;
            return;
        }
        result.end = PipelineEnd::Ran;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::function<void()> m_wake;
    std::mutex m_mutex;
    std::condition_variable m_endedCondition;
    std::vector<Pipeline*> m_running;
    std::deque<Pipeline*> m_ended;
};

}  // namespace

std::unique_ptr<PipelineRunner> MakeBatchFileRunner(std::function<void()> wake) {
    return std::unique_ptr<PipelineRunner>(new ShellRunner(std::move(wake)));
}

bool LookupBatchVariable(const AnsiText& name, AnsiText& value) {
    const char* found = std::getenv(name.c_str());
    if (found == nullptr)
        return false;
    value = found;
    return true;
}

AnsiText ExpandedByCommandProcessor(const AnsiText& line, const BatchFile&, const BatchVariables&) {
    return line;
}

int ProcessorCount() {
    const long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<int>(count) : 1;
}
