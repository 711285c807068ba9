#include "child_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "critical_section.h"

namespace {

// Only one child's handles may be inheritable while it is created: another
// child's pipe held open by the wrong processes would never report its end.
CriticalSection processCreation;  // made before the program's threads start

void MakeInheritable(HANDLE handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
        ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
}

std::uint64_t Ticks(const FILETIME& time) {
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

std::uint64_t CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    return ::GetProcessTimes(process, &created, &exited, &kernel, &user) ? Ticks(created) : 0;
}

// Ends the process and everything it started, by parent process id, for a
// child that has no job (the program is in a job that allows none). A
// process id outlives its process: only processes created after their
// parent count as its children.
void TerminateProcessTree(HANDLE root, DWORD rootId, UINT code) {
    std::vector<std::pair<DWORD, std::uint64_t>> tree = {{rootId, CreationTime(root)}};
    const Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot) {
        std::vector<PROCESSENTRY32W> processes;
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
             more = ::Process32NextW(snapshot.Get(), &entry))
            processes.push_back(entry);
        for (std::size_t parent = 0; parent < tree.size(); ++parent) {
            for (const PROCESSENTRY32W& process : processes) {
                if (process.th32ParentProcessID != tree[parent].first ||
                    process.th32ProcessID == rootId)
                    continue;
                const Handle child(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                                 FALSE, process.th32ProcessID));
                if (!child)
                    continue;
                const std::uint64_t created = CreationTime(child.Get());
                if (created >= tree[parent].second &&
                    std::none_of(tree.begin(), tree.end(),
                                 [&](const auto& p) { return p.first == process.th32ProcessID; })) {
                    tree.push_back({process.th32ProcessID, created});
                    ::TerminateProcess(child.Get(), code);
                }
            }
        }
    }
    ::TerminateProcess(root, code);
}

}  // namespace

bool ChildProcess::Start(const wchar_t* commandLine, const ChildStart& how) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL created = FALSE;
    DWORD error = 0;
    {
        const CriticalSectionLock creation(processCreation);
        // The inheritable ends: closed before the lock is given up.
        Handle pipeWriteEnd;
        Handle nothing;
        if (how.captureOutput) {
            m_output.reset(new OutputPipe);
            if (!m_output->Make(pipeWriteEnd)) {
                const DWORD failure = ::GetLastError();
                m_output.reset();
                ::SetLastError(failure);
                return false;
            }
            if (how.input == nullptr)
                nothing.Reset(::CreateFileW(L"NUL", GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
            startup.hStdInput = how.input != nullptr ? how.input : nothing.Get();
            startup.hStdOutput = pipeWriteEnd.Get();
            startup.hStdError = how.error != nullptr ? how.error : pipeWriteEnd.Get();
            MakeInheritable(pipeWriteEnd.Get());
            MakeInheritable(nothing.Get());
        } else {
            startup.hStdInput = how.input;
            startup.hStdOutput = how.output;
            startup.hStdError = how.error;
        }
        const bool inherit = startup.hStdInput != nullptr || startup.hStdOutput != nullptr ||
                             startup.hStdError != nullptr;
        if (inherit)
            startup.dwFlags = STARTF_USESTDHANDLES;
        DWORD flags = how.flags;
        if (how.environment != nullptr)
            flags |= CREATE_UNICODE_ENVIRONMENT;
        if (how.job != nullptr || how.suspended)
            flags |= CREATE_SUSPENDED;
        // CreateProcessW may write to the line.
        std::vector<wchar_t> line(commandLine, commandLine + std::wcslen(commandLine) + 1);
        void* const environment = const_cast<wchar_t*>(how.environment);
        // Out of a job the program may be in, so that the child gets the one
        // given; a job that allows no breakaway refuses.
        if (how.job != nullptr) {
            created = ::CreateProcessW(how.program, line.data(), nullptr, nullptr, inherit,
                                       flags | CREATE_BREAKAWAY_FROM_JOB, environment, nullptr,
                                       &startup, &process);
        }
        if (!created && (how.job == nullptr || ::GetLastError() == ERROR_ACCESS_DENIED))
            created = ::CreateProcessW(how.program, line.data(), nullptr, nullptr, inherit, flags,
                                       environment, nullptr, &startup, &process);
        error = ::GetLastError();
    }
    if (!created) {
        m_output.reset();
        ::SetLastError(error);
        return false;
    }
    m_process.Reset(process.hProcess);
    m_thread.Reset(process.hThread);
    m_id = process.dwProcessId;
    m_threadId = process.dwThreadId;
    m_job = how.job;
    m_inJob = how.job != nullptr && ::AssignProcessToJobObject(how.job, process.hProcess);
    if (!how.suspended)
        Resume();
    return true;
}

void ChildProcess::Resume() {
    if (m_thread) {
        ::ResumeThread(m_thread.Get());
        m_thread.Reset();
    }
}

bool ChildProcess::Wait(DWORD milliseconds) const {
    return ::WaitForSingleObject(m_process.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

std::uint64_t ChildProcess::ProcessorTime() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (m_inJob && ::QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation,
                                               &accounting, sizeof accounting, nullptr))
        return static_cast<std::uint64_t>(accounting.TotalUserTime.QuadPart +
                                          accounting.TotalKernelTime.QuadPart);
    FILETIME created, exited, kernel, user;
    if (::GetProcessTimes(m_process.Get(), &created, &exited, &kernel, &user))
        return Ticks(kernel) + Ticks(user);
    return 0;
}

void ChildProcess::End(UINT code) {
    if (m_inJob)
        ::TerminateJobObject(m_job, code);
    else if (m_process)
        TerminateProcessTree(m_process.Get(), m_id, code);
}
