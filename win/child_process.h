#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "handle.h"
#include "output_pipe.h"

// How a child process is started.
struct ChildStart {
    // Standard handles it inherits. With `captureOutput` its output (and its
    // error, unless given) go to a pipe the ChildProcess reads, and its
    // input, unless given, is NUL. With no handles, it inherits none.
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    HANDLE error = nullptr;
    bool captureOutput = false;
    const wchar_t* program = nullptr;      // null: the command line's first word
    const wchar_t* environment = nullptr;  // a Unicode block; null: the program's own
    DWORD flags = 0;                       // CREATE_NO_WINDOW, DETACHED_PROCESS, ...
    // When given, the child runs in this job, out of one the program may be
    // in where that job allows. Its processes can then all be ended at once.
    HANDLE job = nullptr;
    bool suspended = false;  // until Resume
};

// A process this program started: its handle, its output and its end.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&&) = default;
    ChildProcess& operator=(ChildProcess&&) = default;

    // False when it did not start; GetLastError says why.
    bool Start(const wchar_t* commandLine, const ChildStart& how);
    void Resume();

    bool Started() const { return static_cast<bool>(m_process); }
    HANDLE Process() const { return m_process.Get(); }
    DWORD ThreadId() const { return m_threadId; }
    bool InJob() const { return m_inJob; }

    // True when it has ended within `milliseconds`.
    bool Wait(DWORD milliseconds) const;
    // Its exit code, or STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Kernel and user time of its processes, in 100 ns ticks, where the
    // system counts them (Wine does not).
    std::uint64_t ProcessorTime() const;

    // Appends what it has printed so far without waiting for more, keeping
    // only the last `limit` bytes of `kept`; the count read. Once every
    // process has closed the pipe, OutputOpen is false.
    template <class Text>
    std::size_t ReadOutput(Text& kept, std::size_t limit) {
        return ReadInto(kept, limit, false);
    }
    // Reads its output to the end: until every process has closed the pipe.
    template <class Text>
    void ReadAllOutput(Text& kept, std::size_t limit) {
        ReadInto(kept, limit, true);
    }
    bool OutputOpen() const { return m_output != nullptr && m_output->Open(); }
    // Set when output has come or every process has closed the pipe: to be
    // waited for with other objects. Null without captured output.
    HANDLE OutputReady() const { return m_output != nullptr ? m_output->Ready() : nullptr; }

    // Ends it and every process it started: its job's, or else those found
    // by parent process id. Safe from another thread while it is watched.
    void End(UINT code);

private:
    template <class Text>
    std::size_t ReadInto(Text& kept, std::size_t limit, bool wait) {
        std::size_t read = 0;
        const char* bytes = nullptr;
        for (DWORD got; m_output != nullptr && (got = m_output->Read(bytes, wait)) > 0;
             read += got) {
            kept.append(bytes, got);
            if (kept.size() > 2 * limit)  // trimmed now and then, not at every read
                kept.erase(0, kept.size() - limit);
        }
        if (kept.size() > limit)
            kept.erase(0, kept.size() - limit);
        return read;
    }

    Handle m_process;
    Handle m_thread;
    std::unique_ptr<OutputPipe> m_output;
    HANDLE m_job = nullptr;
    DWORD m_id = 0;
    DWORD m_threadId = 0;
    bool m_inJob = false;
};
