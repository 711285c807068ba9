// Where the run's time a file goes, with trivial tools, in two views:
//
// In the run itself: the real ConversionRun and runner, the runner watched
// through its interface, so the time splits into the run's own work before
// a file's pipeline starts (planning, locks, work file), the runner's start
// of it, the pipeline until its end is reported, taking the ended pipeline,
// and the run's work after it (length check, tags, move, the list).
//
// The same calls one at a time: each step of one file as the run makes it,
// timed alone, against a fresh "cmd /c" of the same line.
#include "bench_steps.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "bench_clock.h"
#include "bench_files.h"
#include "child_process.h"
#include "conversion_command.h"
#include "conversion_run.h"
#include "file_system.h"
#include "handle.h"
#include "memory_file_queue.h"
#include "mp3_finish.h"
#include "mp3_guard.h"
#include "path_lock.h"
#include "small_file.h"
#include "work_file.h"

namespace {

// Sums of milliseconds, one a step.
struct Steps {
    double before = 0;  // the run's work from the last end taken to the next start
    double start = 0;   // the runner's Start
    double waited = 0;  // Start until the end is there to take
    double taken = 0;   // the runner's TakeEnded that gave an end
    double after = 0;   // the run's work from that end to its next call to the runner
    int files = 0;
};

// The runner the run is given, passing every call on and keeping the time
// between them.
class WatchedRunner : public PipelineRunner {
public:
    WatchedRunner(PipelineRunner& inner, Steps& steps) : m_inner(inner), m_steps(steps) {}

    void Start(int slot, const PipelineJob& job) override {
        const double called = NowMilliseconds();
        m_steps.before += called - m_mark;
        m_inner.Start(slot, job);
        m_mark = NowMilliseconds();
        m_steps.start += m_mark - called;
        m_started = m_mark;
        ++m_steps.files;
    }
    bool TakeEnded(int& slot, PipelineResult& result) override {
        const double called = NowMilliseconds();
        if (m_settling)
            m_steps.after += called - m_mark;
        const bool ended = m_inner.TakeEnded(slot, result);
        m_mark = NowMilliseconds();
        if (ended)
            m_steps.taken += m_mark - called;
        m_settling = ended;
        return ended;
    }
    void WaitForEnd() override {
        m_inner.WaitForEnd();
        m_mark = NowMilliseconds();
        m_steps.waited += m_mark - m_started;
    }
    void EndNow(int slot) override { m_inner.EndNow(slot); }

    // From the driver's call to StartFiles on.
    void Begin() { m_mark = NowMilliseconds(); }

private:
    PipelineRunner& m_inner;
    Steps& m_steps;
    double m_mark = 0;
    double m_started = 0;
    bool m_settling = false;
};

// What RunConversionQueue does, through the watched runner.
Steps TimeRunSteps(const ConversionSettings& settings, const std::vector<std::string>& inputs) {
    MemoryFileQueue queue;
    for (const std::string& input : inputs)
        queue.Append(input.c_str());
    Steps steps;
    const std::unique_ptr<PipelineRunner> inner = MakeBatchFileRunner(nullptr);
    WatchedRunner runner(*inner, steps);
    ConversionRun run(settings, queue, runner);
    runner.Begin();
    run.StartFiles();
    while (!run.Over()) {
        runner.WaitForEnd();
        run.Collect();
    }
    return steps;
}

// The names of the processes `parent` started that are still there.
std::string ChildrenLeft(DWORD parent) {
    std::string names;
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == parent)
            names += std::string(names.empty() ? "" : " ") + entry.szExeFile;
    return names;
}

struct ProcessTimes {
    double total = 0;     // from the start until the process ended (and its pipe closed)
    double pipeOpen = 0;  // from the process's end until its pipe closed
    std::string holders;  // what it left running when it ended
};

// Runs `line` as a process of its own and waits for it and, with
// `how.captureOutput`, for every holder of its output pipe to let go, as the
// runner does.
void TimeProcess(const std::wstring& line, const ChildStart& how, ProcessTimes& times) {
    const double start = NowMilliseconds();
    ChildProcess process;
    if (!process.Start(line.c_str(), how))
        return;
    if (how.suspended)
        process.Resume();
    process.Wait(INFINITE);
    const double ended = NowMilliseconds();
    if (how.captureOutput) {
        if (times.holders.empty())
            times.holders = ChildrenLeft(GetProcessId(process.Process()));
        std::string printed;
        process.ReadAllOutput(printed, 4096);
    }
    const double closed = NowMilliseconds();
    times.total += closed - start;
    times.pipeOpen += closed - ended;
}

std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

std::wstring CommandProcessor() {
    wchar_t comspec[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(comspec, length) : L"cmd.exe";
}

// Sums of milliseconds of the calls one file's turn makes, one at a time.
struct Calls {
    double plan = 0, locks = 0, job = 0, batchFile = 0, finish = 0, list = 0;
    ProcessTimes freshLine, batchNoWindow, batchInJob, batchDrained;
};

void TimeCalls(const ConversionSettings& settings, const std::vector<std::string>& inputs,
               Calls& calls) {
    MemoryFileQueue queue;
    for (const std::string& input : inputs)
        queue.Append(input.c_str());
    const std::wstring processor = CommandProcessor();
    for (const std::string& input : inputs) {
        double t = NowMilliseconds();
        const AnsiText line = BuildConversionCommand(settings, Ansi(input));
        const std::string mp3 = DeriveOutputPath(input, Bytes(settings.m_outputDir));
        const bool fresh = QueryFileState(input).exists && !QueryFileState(mp3).exists;
        calls.plan += NowMilliseconds() - t;

        t = NowMilliseconds();
        PathLock turn("batch file", "bramkot.bat");
        Mp3Guard guard(mp3);
        WorkFile work;
        std::string problem;
        const bool locked = turn.Take(nullptr) && guard.Begin(problem) && work.Make(mp3);
        calls.locks += NowMilliseconds() - t;

        t = NowMilliseconds();
        const Handle job(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
        calls.job += NowMilliseconds() - t;

        const std::string workLine =
            Bytes(BuildCommandWritingTo(settings, Ansi(input), Ansi(work.Path())));
        t = NowMilliseconds();
        WriteSmallFile("bramkot.bat", workLine + '\n', "wt", problem);
        calls.batchFile += NowMilliseconds() - t;

        // The same line three ways: as system() hands it over, and from the
        // batch file as the runner starts it, without a job and in one.
        TimeProcess(processor + L" /c \"" + Wide(Bytes(line)) + L"\"", ChildStart(),
                    calls.freshLine);
        const std::wstring batch = L'"' + processor + L"\" /q /c bramkot.bat";
        ChildStart asRun;
        asRun.flags = CREATE_NO_WINDOW;
        TimeProcess(batch, asRun, calls.batchNoWindow);
        asRun.job = job.Get();
        asRun.suspended = true;
        TimeProcess(batch, asRun, calls.batchInJob);
        asRun.captureOutput = true;
        TimeProcess(batch, asRun, calls.batchDrained);
        DeleteFileA("bramkot.bat");

        t = NowMilliseconds();
        CheckMp3Length(input, work.Path());
        CarryTagsOver(input, work.Path(), {settings.m_mppdecPath, settings.m_mppdecSwitches},
                      problem);
        const bool placed = work.PutInPlace(problem);
        calls.finish += NowMilliseconds() - t;

        t = NowMilliseconds();
        queue.Delete(0);
        calls.list += NowMilliseconds() - t;
        if (!fresh || !locked || !placed)
            std::fprintf(stderr, "steps: %s: %s\n", input.c_str(), problem.c_str());
        RemoveFile(mp3);
    }
}

void Print(FILE* out, const char* what, double milliseconds, int files) {
    std::fprintf(out, "    %-52s %7.2f ms a file\n", what, milliseconds / files);
}

}  // namespace

int StepsOfOneFile(FILE* out, const std::string& decoder, const std::string& encoder,
                   const std::vector<std::string>& inputs) {
    const ConversionSettings settings = {
        Ansi(decoder), Ansi(encoder), "--gain 2", "--alt-preset 128", "", "1"};
    const int files = static_cast<int>(inputs.size());
    const Steps steps = TimeRunSteps(settings, inputs);
    for (const std::string& input : inputs)
        RemoveFile(DeriveOutputPath(input, std::string()));
    Calls calls;
    TimeCalls(settings, inputs, calls);
    std::fprintf(out, "one file's steps, %d files, trivial tools:\n", files);
    std::fprintf(out, "  in the run (the real runner, watched through its interface):\n");
    Print(out, "the run before the start (plan, locks, work file)", steps.before, steps.files);
    Print(out, "the runner's Start (its thread and signal)", steps.start, steps.files);
    Print(out, "Start until the end is reported (the pipeline)", steps.waited, steps.files);
    Print(out, "taking the end (its result handed over)", steps.taken, steps.files);
    Print(out, "the run after the end (length, tags, move, list)", steps.after, steps.files);
    std::fprintf(out, "  the same calls one at a time:\n");
    Print(out, "planning the line", calls.plan, files);
    Print(out, "locks: batch file, MP3 guard, work file", calls.locks, files);
    Print(out, "job object made", calls.job, files);
    Print(out, "batch file written", calls.batchFile, files);
    Print(out, "the line by a fresh cmd /c, until it ends", calls.freshLine.total, files);
    Print(out, "the batch file by cmd /q /c, no window, until it ends", calls.batchNoWindow.total,
          files);
    Print(out, "the same, suspended, in a job, until it ends", calls.batchInJob.total, files);
    Print(out, "the same, its output drained until the pipe closes", calls.batchDrained.total,
          files);
    Print(out, "of which the pipe open after the end", calls.batchDrained.pipeOpen, files);
    std::fprintf(
        out, "    (left running when the command processor ended: %s)\n",
        calls.batchDrained.holders.empty() ? "nothing" : calls.batchDrained.holders.c_str());
    Print(out, "length check, tags, work file to its name", calls.finish, files);
    Print(out, "the list entry deleted (a list in memory)", calls.list, files);
    return steps.files == files ? 0 : 1;
}
