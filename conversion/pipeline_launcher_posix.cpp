// The shell runs the batch file here, in a process group of its own; its
// line reads the same to the shell as to the command processor.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "pipeline_launcher.h"
#include "thread_tools.h"

extern char** environ;

namespace {

// How often the shell's end is looked for while no output comes.
const int kLookMs = 5;

class Shell : public LaunchedPipeline {
public:
    ~Shell() override {
        if (m_output >= 0)
            close(m_output);
        if (m_child > 0 && !m_reaped)
            Reap(0);
    }

    bool Launch(const PipelineJob& job) override {
        // Everything the child needs is made before fork: after it, only
        // calls that are safe in a copy of a threaded program.
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry)
            environment.emplace_back(*entry);
        for (const auto& variable : job.variables)
            environment.push_back(std::string(variable.first.begin(), variable.first.end()) + '=' +
                                  std::string(variable.second.begin(), variable.second.end()));
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(&entry[0]);
        envp.push_back(nullptr);
        const std::string script = "./" + job.batchFileName;
        char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>(script.c_str()), nullptr};
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0)
            return false;
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
        const int error = errno;
        close(pipeEnds[1]);
        if (child < 0) {
            close(pipeEnds[0]);
            errno = error;
            return false;
        }
        setpgid(child, child);
        m_child = child;
        m_output = pipeEnds[0];
        fcntl(m_output, F_SETFL, fcntl(m_output, F_GETFL) | O_NONBLOCK);
        return true;
    }

    void Resume() override {}

    bool WaitForEnd(unsigned milliseconds, const Signal&) override {
        for (unsigned waited = 0;; waited += kLookMs) {
            if (Reap(WNOHANG))
                return true;
            if (waited >= milliseconds)
                return false;
            if (m_output >= 0) {
                pollfd ready = {m_output, POLLIN, 0};
                if (poll(&ready, 1, kLookMs) > 0)
                    return false;
            } else {
                usleep(kLookMs * 1000);
            }
        }
    }

    std::size_t ReadOutput(AnsiText& kept, std::size_t limit) override {
        std::size_t read = 0;
        char chunk[4096];
        while (m_output >= 0) {
            const ssize_t got = ::read(m_output, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                break;  // nothing more for now
            if (got == 0) {
                close(m_output);
                m_output = -1;
                break;
            }
            kept.append(chunk, static_cast<std::size_t>(got));
            if (kept.size() > 2 * limit)
                kept.erase(0, kept.size() - limit);
            read += static_cast<std::size_t>(got);
        }
        if (kept.size() > limit)
            kept.erase(0, kept.size() - limit);
        return read;
    }

    bool OutputOpen() const override { return m_output >= 0; }

    void WaitForOutput(unsigned milliseconds) override {
        pollfd ready = {m_output, POLLIN, 0};
        poll(&ready, 1, static_cast<int>(milliseconds));
    }

    // The system counts no processor time here: output and the written file
    // show the pipeline at work.
    std::uint64_t ProcessorTime() const override { return 0; }

    void EndEveryProcess() override {
        m_endedByUs = true;
        if (!m_reaped)
            kill(-m_child, SIGKILL);
    }

    int ExitStatus(bool& endedByUs) override {
        if (!m_reaped)
            Reap(0);
        endedByUs = m_endedByUs && WIFSIGNALED(m_status);
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }

private:
    bool Reap(int options) {
        if (m_reaped)
            return true;
        pid_t reaped;
        while ((reaped = waitpid(m_child, &m_status, options)) < 0 && errno == EINTR) {
        }
        m_reaped = reaped == m_child;
        return m_reaped;
    }

    pid_t m_child = 0;
    int m_output = -1;
    int m_status = 0;
    // Also read by EndEveryProcess, from another thread.
    std::atomic<bool> m_reaped{false};
    std::atomic<bool> m_endedByUs{false};
};

}  // namespace

std::unique_ptr<LaunchedPipeline> MakeLaunchedPipeline() {
    return std::unique_ptr<LaunchedPipeline>(new Shell);
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
