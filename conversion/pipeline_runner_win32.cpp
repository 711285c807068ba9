// Each pipeline runs on a thread of its own, which waits for its batch file's
// turn, writes the batch file, runs it through the command processor with no
// console window, drains what the command processor and the tools print,
// deletes the batch file and gives the turn back. The caller's thread never
// waits for any of it.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <string>
#include <vector>

#include "critical_section_lock_win32.h"
#include "file_system.h"
#include "path_lock.h"
#include "pipeline.h"
#include "small_file.h"
#include "text_conversion.h"

namespace {

const std::size_t kKeptOutput = 8 * 1024;
// The exit code of a pipeline ended on request: none of the tools' own.
const UINT kEndedByUserCode = 0xE0DEDB7Eu;
// How often a running pipeline is looked at, and how long the pipe may stay
// open once the command processor has ended (a detached child holding it).
const DWORD kLookMs = 50;
const DWORD kPipeGraceMs = 1500;

// Only one pipeline's handles may be inheritable while its command processor
// is created: another one's pipe held open by the wrong processes would never
// report its end.
class ProcessCreationLock {
public:
    ProcessCreationLock() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
};
ProcessCreationLock processCreation;  // made before the program's threads start

CRITICAL_SECTION& ProcessCreation() {
    return processCreation.section;
}

bool SameName(const Utf16Text& entry, const Utf16Text& name) {
    return entry.size() > name.size() && entry[name.size()] == L'=' &&
           _wcsnicmp(entry.c_str(), name.c_str(), name.size()) == 0;
}

// The program's environment with the job's variables set, as a block for
// CreateProcessW, sorted by name as Windows keeps it.
std::vector<wchar_t> EnvironmentBlock(const PipelineJob& job) {
    std::vector<Utf16Text> entries;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; entry != nullptr && *entry != L'\0';
         entry += std::wcslen(entry) + 1)
        entries.emplace_back(entry);
    if (strings != nullptr)
        FreeEnvironmentStringsW(strings);
    for (const auto& variable : job.variables) {
        const Utf16Text name = ToUtf16(variable.first);
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const Utf16Text& e) { return SameName(e, name); }),
                      entries.end());
        entries.push_back(name + L'=' + ToUtf16(variable.second));
    }
    std::sort(entries.begin(), entries.end(), [](const Utf16Text& a, const Utf16Text& b) {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    });
    std::vector<wchar_t> block;
    for (const Utf16Text& entry : entries)
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back(L'\0');
    return block;
}

std::uint64_t Ticks(const FILETIME& time) {
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

std::uint64_t CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    return GetProcessTimes(process, &created, &exited, &kernel, &user) ? Ticks(created) : 0;
}

// Ends the process and everything it started, by parent process id, for a
// pipeline that has no job of its own (the program is in a job that allows
// none). A process id outlives its process: only processes created after
// their parent count as its children.
void TerminateProcessTree(HANDLE root, DWORD rootId, UINT code) {
    std::vector<std::pair<DWORD, std::uint64_t>> tree = {{rootId, CreationTime(root)}};
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        std::vector<PROCESSENTRY32W> processes;
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more;
             more = Process32NextW(snapshot, &entry))
            processes.push_back(entry);
        CloseHandle(snapshot);
        for (std::size_t parent = 0; parent < tree.size(); ++parent) {
            for (const PROCESSENTRY32W& process : processes) {
                if (process.th32ParentProcessID != tree[parent].first ||
                    process.th32ProcessID == rootId)
                    continue;
                const HANDLE child = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                                 FALSE, process.th32ProcessID);
                if (child == nullptr)
                    continue;
                const std::uint64_t created = CreationTime(child);
                if (created >= tree[parent].second &&
                    std::none_of(tree.begin(), tree.end(),
                                 [&](const auto& p) { return p.first == process.th32ProcessID; })) {
                    tree.push_back({process.th32ProcessID, created});
                    TerminateProcess(child, code);
                }
                CloseHandle(child);
            }
        }
    }
    TerminateProcess(root, code);
}

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

Utf16Text CommandProcessorLine(const std::string& batchFileName) {
    wchar_t comspec[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH);
    const Utf16Text program =
        length > 0 && length < MAX_PATH ? Utf16Text(comspec, length) : L"cmd.exe";
    // /q: the command processor does not echo the line before it runs it,
    // which under Wine costs a sixth of a trivial pipeline's time.
    return L'"' + program + L"\" /q /c " + FromAscii<Utf16Text>(batchFileName.c_str());
}

class BatchFileRunner;

struct Pipeline {
    int slot = 0;
    PipelineJob job;
    BatchFileRunner* runner = nullptr;
    HANDLE thread = nullptr;
    HANDLE jobObject = nullptr;  // every process of the pipeline
    HANDLE cancel = nullptr;     // set by EndNow
    HANDLE process = nullptr;    // the command processor, while it runs
    DWORD processId = 0;
    bool inJob = false;
    PipelineResult result;
};

class BatchFileRunner : public PipelineRunner {
public:
    explicit BatchFileRunner(std::function<void()> wake) : m_wake(std::move(wake)) {
        InitializeCriticalSection(&m_lock);
        // Without the event WaitForEnd looks now and then instead.
        m_endedEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }

    ~BatchFileRunner() override {
        std::vector<Pipeline*> running;
        {
            const CriticalSectionLock lock(m_lock);
            running = m_running;
        }
        for (Pipeline* pipeline : running)
            EndNow(pipeline->slot);
        for (Pipeline* pipeline : running)
            WaitForSingleObject(pipeline->thread, INFINITE);
        for (Pipeline* pipeline : m_running)
            Release(pipeline);
        if (m_endedEvent != nullptr)
            CloseHandle(m_endedEvent);
        DeleteCriticalSection(&m_lock);
    }

    void Start(int slot, const PipelineJob& job) override {
        Pipeline* pipeline = new Pipeline;
        pipeline->slot = slot;
        pipeline->job = job;
        pipeline->runner = this;
        pipeline->cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const std::string noEvent = pipeline->cancel == nullptr ? LastSystemErrorText() : "";
        pipeline->jobObject = CreateJobObjectW(nullptr, nullptr);
        if (pipeline->jobObject != nullptr) {
            // Should the program itself be ended, its tools end with it.
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(pipeline->jobObject, JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        }
        {
            const CriticalSectionLock lock(m_lock);
            m_running.push_back(pipeline);
        }
        if (pipeline->cancel != nullptr)
            pipeline->thread =
                CreateThread(nullptr, 0, &BatchFileRunner::Run, pipeline, 0, nullptr);
        if (pipeline->thread == nullptr) {
            pipeline->result.end = PipelineEnd::NotStarted;
            pipeline->result.problem = noEvent.empty() ? LastSystemErrorText() : noEvent;
            Ended(pipeline);
        }
    }

    bool TakeEnded(int& slot, PipelineResult& result) override {
        Pipeline* pipeline = nullptr;
        {
            const CriticalSectionLock lock(m_lock);
            if (m_ended.empty())
                return false;
            pipeline = m_ended.front();
            m_ended.pop_front();
            m_running.erase(std::find(m_running.begin(), m_running.end(), pipeline));
        }
        if (pipeline->thread != nullptr)
            WaitForSingleObject(pipeline->thread, INFINITE);
        slot = pipeline->slot;
        result = pipeline->result;
        Release(pipeline);
        return true;
    }

    void WaitForEnd() override {
        for (;;) {
            {
                const CriticalSectionLock lock(m_lock);
                if (!m_ended.empty())
                    return;
            }
            WaitForSingleObject(m_endedEvent != nullptr ? m_endedEvent : GetCurrentProcess(),
                                m_endedEvent != nullptr ? INFINITE : kLookMs);
        }
    }

    void EndNow(int slot) override {
        const CriticalSectionLock lock(m_lock);
        for (Pipeline* pipeline : m_running) {
            if (pipeline->slot != slot)
                continue;
            SetEvent(pipeline->cancel);
            EndEveryProcess(*pipeline, kEndedByUserCode);
        }
    }

private:
    static DWORD WINAPI Run(void* parameter) {
        Pipeline* pipeline = static_cast<Pipeline*>(parameter);
        pipeline->runner->RunPipeline(*pipeline);
        pipeline->runner->Ended(pipeline);
        return 0;
    }

    // With the runner's lock held.
    static void EndEveryProcess(Pipeline& pipeline, UINT code) {
        if (pipeline.inJob)
            TerminateJobObject(pipeline.jobObject, code);
        else if (pipeline.process != nullptr)
            TerminateProcessTree(pipeline.process, pipeline.processId, code);
    }

    void RunPipeline(Pipeline& pipeline) {
        PipelineResult& result = pipeline.result;
        PathLock turn("batch file", pipeline.job.batchFileName);
        // Without a lock to be had the pipeline goes on alone.
        if (!turn.Take(pipeline.cancel) &&
            WaitForSingleObject(pipeline.cancel, 0) == WAIT_OBJECT_0) {
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
        RunCommandProcessor(pipeline);
        DeleteFileA(pipeline.job.batchFileName.c_str());
    }

    void RunCommandProcessor(Pipeline& pipeline) {
        PipelineResult& result = pipeline.result;
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        HANDLE nothing = INVALID_HANDLE_VALUE;
        PROCESS_INFORMATION process = {};
        BOOL created = FALSE;
        {
            const CriticalSectionLock creation(ProcessCreation());
            if (CreatePipe(&readEnd, &writeEnd, nullptr, 64 * 1024)) {
                nothing = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
                SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
                if (nothing != INVALID_HANDLE_VALUE)
                    SetHandleInformation(nothing, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
                STARTUPINFOW startup = {};
                startup.cb = sizeof startup;
                startup.dwFlags = STARTF_USESTDHANDLES;
                startup.hStdInput = nothing;
                startup.hStdOutput = writeEnd;
                startup.hStdError = writeEnd;
                Utf16Text line = CommandProcessorLine(pipeline.job.batchFileName);
                std::vector<wchar_t> environment;
                DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW;
                if (!pipeline.job.variables.empty()) {
                    environment = EnvironmentBlock(pipeline.job);
                    flags |= CREATE_UNICODE_ENVIRONMENT;
                }
                // Out of a job the program may be in, so that the pipeline
                // gets one of its own; a job that allows no breakaway refuses.
                void* const block = environment.empty() ? nullptr : environment.data();
                created = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE,
                                         flags | CREATE_BREAKAWAY_FROM_JOB, block, nullptr,
                                         &startup, &process);
                if (!created && GetLastError() == ERROR_ACCESS_DENIED)
                    created = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags,
                                             block, nullptr, &startup, &process);
                if (!created)
                    result.problem = LastSystemErrorText();
                CloseHandle(writeEnd);
                if (nothing != INVALID_HANDLE_VALUE)
                    CloseHandle(nothing);
            } else {
                result.problem = LastSystemErrorText();
            }
        }
        if (!created) {
            if (readEnd != nullptr)
                CloseHandle(readEnd);
            result.end = PipelineEnd::NotStarted;
            return;
        }
        {
            const CriticalSectionLock lock(m_lock);
            pipeline.process = process.hProcess;
            pipeline.processId = process.dwProcessId;
            pipeline.inJob = pipeline.jobObject != nullptr &&
                             AssignProcessToJobObject(pipeline.jobObject, process.hProcess);
            if (WaitForSingleObject(pipeline.cancel, 0) == WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, kEndedByUserCode);
        }
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);

        const bool stalled = Watch(pipeline, readEnd, result.output);
        CloseHandle(readEnd);
        DWORD status = 1;
        GetExitCodeProcess(process.hProcess, &status);
        {
            const CriticalSectionLock lock(m_lock);
            pipeline.process = nullptr;
        }
        CloseHandle(process.hProcess);
        const bool cancelled = WaitForSingleObject(pipeline.cancel, 0) == WAIT_OBJECT_0;
        result.end = stalled                                   ? PipelineEnd::Stalled
                     : cancelled && status == kEndedByUserCode ? PipelineEnd::EndedByUser
                                                               : PipelineEnd::Ran;
        result.status = static_cast<int>(status);
    }

    // Reads what the pipeline prints until the command processor has ended
    // and every process has closed the pipe, or the pipe has had its grace
    // after that end (a detached child may hold it for its whole life: it
    // is ended). A pipeline that shows no activity for kStalledSeconds is
    // ended too; true then. Only the last few KB are kept: a tool may print
    // without end.
    bool Watch(Pipeline& pipeline, HANDLE readEnd, AnsiText& kept) {
        const HANDLE process = pipeline.process;
        const DWORD started = GetTickCount();
        DWORD lastActive = started;
        DWORD lastLook = started;
        DWORD endedAt = 0;
        Activity activity = ActivityOf(pipeline, 0);
        bool pipeOpen = true;
        bool ended = false;
        bool cancelSeen = false;
        bool stalled = false;
        std::uint64_t printed = 0;
        for (;;) {
            DWORD available = 0;
            if (pipeOpen && !PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
                pipeOpen = false;  // every process has closed its end
            if (available > 0) {
                char chunk[4096];
                DWORD got = 0;
                if (ReadFile(readEnd, chunk, std::min<DWORD>(available, sizeof chunk), &got,
                             nullptr)) {
                    Keep(kept, chunk, got);
                    printed += got;
                }
                continue;
            }
            if (ended && (!pipeOpen || GetTickCount() - endedAt >= kPipeGraceMs))
                break;
            const HANDLE handles[] = {process, pipeline.cancel};
            if (ended) {
                Sleep(10);
                continue;
            }
            const DWORD waited =
                WaitForMultipleObjects(cancelSeen ? 1 : 2, handles, FALSE, kLookMs);
            if (waited == WAIT_OBJECT_0) {
                ended = true;
                endedAt = GetTickCount();
                continue;
            }
            if (waited == WAIT_OBJECT_0 + 1)
                cancelSeen = true;  // EndNow has ended the processes
            const DWORD now = GetTickCount();
            if (now - lastLook < 1000)
                continue;
            lastLook = now;
            const Activity seen = ActivityOf(pipeline, printed);
            if (seen != activity) {
                activity = seen;
                lastActive = now;
            } else if (!stalled && now - lastActive >= kStalledSeconds * 1000u) {
                stalled = true;
                const CriticalSectionLock lock(m_lock);
                EndEveryProcess(pipeline, kEndedByUserCode);
            }
        }
        // What still holds the pipe has outlived its command processor.
        if (pipeOpen) {
            const CriticalSectionLock lock(m_lock);
            EndEveryProcess(pipeline, kEndedByUserCode);
        }
        if (kept.size() > kKeptOutput)
            kept.erase(0, kept.size() - kKeptOutput);
        return stalled;
    }

    static void Keep(AnsiText& kept, const char* bytes, DWORD count) {
        kept.append(bytes, count);
        if (kept.size() > 2 * kKeptOutput)
            kept.erase(0, kept.size() - kKeptOutput);
    }

    static Activity ActivityOf(const Pipeline& pipeline, std::uint64_t printed) {
        Activity activity;
        activity.outputSize = printed;
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        FILETIME created, exited, kernel, user;
        if (pipeline.inJob &&
            QueryInformationJobObject(pipeline.jobObject, JobObjectBasicAccountingInformation,
                                      &accounting, sizeof accounting, nullptr))
            activity.processorTime = static_cast<std::uint64_t>(
                accounting.TotalUserTime.QuadPart + accounting.TotalKernelTime.QuadPart);
        else if (GetProcessTimes(pipeline.process, &created, &exited, &kernel, &user))
            activity.processorTime = Ticks(kernel) + Ticks(user);
        const FileState file = QueryFileState(pipeline.job.outputFile);
        activity.fileSize = file.size;
        activity.fileTime = file.writeTime;
        return activity;
    }

    void Ended(Pipeline* pipeline) {
        {
            const CriticalSectionLock lock(m_lock);
            m_ended.push_back(pipeline);
        }
        SetEvent(m_endedEvent);
        if (m_wake)
            m_wake();
    }

    static void Release(Pipeline* pipeline) {
        for (HANDLE handle : {pipeline->thread, pipeline->jobObject, pipeline->cancel})
            if (handle != nullptr)
                CloseHandle(handle);
        delete pipeline;
    }

    std::function<void()> m_wake;
    CRITICAL_SECTION m_lock;
    HANDLE m_endedEvent = nullptr;
    std::vector<Pipeline*> m_running;  // started, not yet taken
    std::deque<Pipeline*> m_ended;
};

}  // namespace

std::unique_ptr<PipelineRunner> MakeBatchFileRunner(std::function<void()> wake) {
    return std::unique_ptr<PipelineRunner>(new BatchFileRunner(std::move(wake)));
}

bool LookupBatchVariable(const AnsiText& name, AnsiText& value) {
    const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0)
        return false;
    std::vector<char> text(size);
    const DWORD length = GetEnvironmentVariableA(name.c_str(), text.data(), size);
    if (length >= size)
        return false;
    value.assign(text.data(), length);
    return true;
}

AnsiText ExpandedByCommandProcessor(const AnsiText& line, const BatchFile& batch,
                                    const BatchVariables& variables) {
    return ExpandAsBatchFileLine(line, batch, variables);
}

int ProcessorCount() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}
