// The command processor runs the batch file with no console window, in a job
// of its own where the system allows one, its output and error on a pipe.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "child_process.h"
#include "handle.h"
#include "pipeline_launcher.h"
#include "signal_win32.h"
#include "text_conversion.h"

namespace {

// The exit code of a pipeline ended on request: none of the tools' own.
const UINT kEndedByUserCode = 0xE0DEDB7Eu;

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

Utf16Text CommandProcessorLine(const std::string& batchFileName) {
    wchar_t comspec[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH);
    const Utf16Text program =
        length > 0 && length < MAX_PATH ? Utf16Text(comspec, length) : L"cmd.exe";
    // /q: the command processor does not echo the line before it runs it,
    // which under Wine costs a sixth of a trivial pipeline's time.
    return L'"' + program + L"\" /q /c " + FromAscii<Utf16Text>(batchFileName.c_str());
}

// A job whose processes end with it, should the program itself be ended.
Handle MakeJob() {
    Handle job(CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
    }
    return job;
}

class CommandProcessor : public LaunchedPipeline {
public:
    bool Launch(const PipelineJob& job) override {
        m_job = MakeJob();
        std::vector<wchar_t> environment;
        ChildStart how;
        how.captureOutput = true;
        how.flags = CREATE_NO_WINDOW;
        how.job = m_job.Get();
        how.suspended = true;
        if (!job.variables.empty()) {
            environment = EnvironmentBlock(job);
            how.environment = environment.data();
        }
        return m_process.Start(CommandProcessorLine(job.batchFileName).c_str(), how);
    }

    void Resume() override { m_process.Resume(); }

    bool WaitForEnd(unsigned milliseconds, const Signal& cancel) override {
        HANDLE handles[3] = {m_process.Process()};
        DWORD count = 1;
        // Once EndNow has ended the processes, only their end is waited for.
        if (!cancel.Raised())
            handles[count++] = EventOf(cancel);
        if (m_process.OutputOpen())
            handles[count++] = m_process.OutputReady();
        return WaitForMultipleObjects(count, handles, FALSE, milliseconds) == WAIT_OBJECT_0;
    }

    std::size_t ReadOutput(AnsiText& kept, std::size_t limit) override {
        return m_process.ReadOutput(kept, limit);
    }

    bool OutputOpen() const override { return m_process.OutputOpen(); }

    void WaitForOutput(unsigned milliseconds) override {
        WaitForSingleObject(m_process.OutputReady(), milliseconds);
    }

    std::uint64_t ProcessorTime() const override { return m_process.ProcessorTime(); }

    void EndEveryProcess() override { m_process.End(kEndedByUserCode); }

    int ExitStatus(bool& endedByUs) override {
        const DWORD code = m_process.ExitCode();
        endedByUs = code == kEndedByUserCode;
        return static_cast<int>(code);
    }

private:
    Handle m_job;  // every process of the pipeline, where it could be made
    ChildProcess m_process;
};

}  // namespace

std::unique_ptr<LaunchedPipeline> MakeLaunchedPipeline() {
    return std::unique_ptr<LaunchedPipeline>(new CommandProcessor);
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
