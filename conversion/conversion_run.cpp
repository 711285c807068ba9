#include "conversion_run.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "conversion_command.h"
#include "decimal_text.h"
#include "decoder_refusal.h"
#include "file_system.h"
#include "mp3_finish.h"
#include "mp3_guard.h"
#include "skip_rule.h"
#include "text_conversion.h"
#include "text_encoding.h"
#include "tool_alias.h"
#include "work_file.h"

// One entry from the start of its pipeline to its end.
struct FileInWork {
    int index = 0;  // where it stands in the list now
    int slot = 0;
    std::string entry;    // UTF-8
    std::string mp3;      // UTF-8: the MP3's true name
    std::string toolMp3;  // UTF-8: what the encoder writes, the work file or the alias's MP3
    std::string mp3Key;
    AnsiText batchLine;  // as composed
    FileState before;
    // Where ANSI cannot spell the entry: the name the tools get instead.
    std::unique_ptr<ToolAlias> alias;
    std::unique_ptr<Mp3Guard> guard;
    // What the MP3 is made as, until it goes to its true name whole.
    std::unique_ptr<WorkFile> work;
    std::vector<int> followers;  // later entries of the same input: they share its fate
};

namespace {

// One pipeline as it will run: its line in the ANSI code page and, when the
// batch file's code page cannot spell that line, the variables it reads the
// dropped name from instead.
struct ToolRun {
    AnsiText line;
    VariableCommand variables;
    std::string output;  // UTF-8: the MP3 file the encoder writes
};

// Variable names compare without letter case.
bool SameVariable(const AnsiText& name, const char* otherName) {
    return EqualIgnoringAsciiCase(std::string(name.begin(), name.end()), otherName);
}

// The environment the command processor will see for one line: the line's
// own variables, then the program's environment.
class LineVariables : public BatchVariables {
public:
    explicit LineVariables(const VariableCommand& command) : m_command(command) {}

    bool Lookup(const AnsiText& name, AnsiText& value) const override {
        if (m_command.line.empty())
            return LookupBatchVariable(name, value);
        if (SameVariable(name, kInputVariable))
            value = m_command.input;
        else if (SameVariable(name, kOutputVariable))
            value = m_command.output;
        else
            return LookupBatchVariable(name, value);
        return true;
    }

private:
    const VariableCommand& m_command;
};

BatchFile BatchFileOfSlot(int slot) {
    const std::string name = BatchFileNameOfSlot(slot);
    return {FromAscii<AnsiText>(name.c_str()), FullPathInCurrentDirectory(name.c_str())};
}

// The MP3 file that a run of the line writes is the file its last argument
// names once the command processor has expanded "%" in it.
ToolRun PlanToolRun(const ConversionSettings& settings, const AnsiText& ansiInput,
                    const BatchFile& batch, int foldersKept = 0) {
    ToolRun run;
    AnsiText outputArgument;
    const AnsiText line = BuildConversionCommand(settings, ansiInput, foldersKept);
    OemText unused;
    if (ToOem(line, unused)) {
        run.line = line;
        outputArgument = OutputArgument(settings, ansiInput, foldersKept);
    } else {
        const bool outputDirSpelled = ToOem(settings.m_outputDir, unused);
        run.variables = BuildVariableCommand(settings, ansiInput, !outputDirSpelled, foldersKept);
        run.line = run.variables.line;
        outputArgument = run.variables.outputArgument;
    }
    const LineVariables variables(run.variables);
    run.output = ToUtf8(ExpandedByCommandProcessor(outputArgument, batch, variables));
    return run;
}

// The line of `run` with the encoder writing `work` (UTF-8) instead of the
// MP3's true name; false when the ANSI code page cannot spell it.
bool AimAtWorkFile(const ConversionSettings& settings, const AnsiText& ansiInput,
                   const std::string& work, ToolRun& run) {
    AnsiText ansiWork;
    if (!ToAnsi(work, ansiWork))
        return false;
    run.variables = VariableCommand();
    run.line = BuildCommandWritingTo(settings, ansiInput, ansiWork);
    OemText unused;
    if (!ToOem(run.line, unused)) {
        run.variables = BuildVariableCommandWritingTo(settings, ansiInput, ansiWork);
        run.line = run.variables.line;
    }
    run.output = work;
    return true;
}

// Why the Musepack file cannot go to the tools now; empty when it can.
std::string ProblemWithInput(const std::string& entry) {
    std::FILE* file = OpenFile(entry, "rb");
    if (file == nullptr) {
        const std::string why = LastSystemErrorText();
        if (!QueryFileState(entry).exists)
            return "the file is no longer there";
        return "the file cannot be read: " + why;
    }
    char first = 0;
    const bool read = std::fread(&first, 1, 1, file) == 1;
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (read)
        return std::string();
    return failed ? "the file cannot be read" : "the file is empty";
}

// The last line of the tools' words that holds more than blanks; progress
// lines end in a carriage return alone.
std::string LastLine(const AnsiText& ansiOutput) {
    const std::string output = ToUtf8(ansiOutput);
    std::size_t end = output.size();
    while (end > 0) {
        const std::size_t start = output.find_last_of("\r\n", end - 1);
        const std::size_t first = start == std::string::npos ? 0 : start + 1;
        std::string line = output.substr(first, end - first);
        const std::size_t text = line.find_first_not_of(" \t");
        if (text != std::string::npos)
            return line.substr(text, line.find_last_not_of(" \t") + 1 - text);
        if (start == std::string::npos)
            break;
        end = start;
    }
    return std::string();
}

std::string WithToolWords(const std::string& reason, const AnsiText& output) {
    const std::string last = LastLine(output);
    return last.empty() ? reason : reason + ": " + last;
}

std::string Seconds(double seconds) {
    return FixedPoint(seconds, 1) + " s";
}

}  // namespace

// Anything but a number means one per processor, as empty and 0 do.
int FilesAtOnce(const ConversionSettings& settings) {
    const AnsiText& text = settings.m_filesAtOnce;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    int number = 0;
    for (std::size_t i = first; first != AnsiText::npos && i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            number = 0;
            break;
        }
        number = std::min(number * 10 + (text[i] - '0'), kMostFilesAtOnce);
    }
    return std::min(number > 0 ? number : ProcessorCount(), kMostFilesAtOnce);
}

ConversionRun::ConversionRun(const ConversionSettings& settings, FileQueue& queue,
                             PipelineRunner& runner, RunEvents* events)
    : m_settings(settings),
      m_queue(queue),
      m_runner(runner),
      m_events(events),
      m_filesAtOnce(FilesAtOnce(settings)) {
    const AnsiText directory = SplitOutputPath(AnsiText("\\"), settings.m_outputDir).directory;
    OemText unused;
    const VariableCommand none;
    m_outputFolder =
        ToUtf8(ToOem(directory, unused)
                   ? ExpandedByCommandProcessor(directory, BatchFileOfSlot(0), LineVariables(none))
                   : directory);
    ReclaimToolAliases();
}

ConversionRun::~ConversionRun() {
    EndNow();
}

void ConversionRun::EndNowAndWait() {
    EndNow();
    while (!m_inWork.empty()) {
        m_runner.WaitForEnd();
        Collect();
    }
}

bool ConversionRun::Over() const {
    return m_inWork.empty();
}

int ConversionRun::Total() const {
    int followers = 0;
    for (const auto& file : m_inWork)
        followers += static_cast<int>(file->followers.size());
    return Finished() + static_cast<int>(m_inWork.size()) + followers + m_queue.Count() - m_next;
}

std::vector<EntryInWork> ConversionRun::FilesInWork() const {
    std::vector<EntryInWork> entries;
    for (const auto& file : m_inWork)
        entries.push_back({file->index, file->entry});
    std::sort(entries.begin(), entries.end(),
              [](const EntryInWork& a, const EntryInWork& b) { return a.index < b.index; });
    return entries;
}

void ConversionRun::Stop() {
    m_stopped = true;
}

void ConversionRun::EndNow() {
    m_stopped = true;
    for (const auto& file : m_inWork)
        m_runner.EndNow(file->slot);
}

int ConversionRun::FreeSlot() const {
    for (int slot = 0;; ++slot) {
        bool taken = false;
        for (const auto& file : m_inWork)
            taken = taken || file->slot == slot;
        if (!taken)
            return slot;
    }
}

void ConversionRun::StartFiles() {
    PathBuffer entry;
    while (!m_stopped && static_cast<int>(m_inWork.size()) < m_filesAtOnce &&
           m_queue.Read(m_next, entry))
        BeginFile(entry.m_text, m_queue.FoldersKept(m_next));
}

void ConversionRun::Collect() {
    int slot = 0;
    PipelineResult result;
    while (m_runner.TakeEnded(slot, result)) {
        const auto found = std::find_if(m_inWork.begin(), m_inWork.end(),
                                        [&](const auto& file) { return file->slot == slot; });
        if (found == m_inWork.end())
            continue;
        std::unique_ptr<FileInWork> file = std::move(*found);
        m_inWork.erase(found);
        Settle(*file, result);
    }
    StartFiles();
}

// A missing output directory is made, with every folder above it, before
// its first file runs. The MP3 next to its input needs nothing made.
bool ConversionRun::OutputFolderReady(const std::string& mp3) {
    if (m_settings.m_outputDir.size() < 2)
        return true;
    const std::size_t backslash = mp3.rfind('\\');
    const std::string folder = backslash == std::string::npos ? mp3 : mp3.substr(0, backslash);
    const std::string key = FileNameKey(folder);
    if (key != m_folderKey) {
        m_folderKey = key;
        m_folderReady = MakeFolders(folder);
    }
    return m_folderReady;
}

void ConversionRun::BeginFile(const std::string& entry, int foldersKept) {
    auto file = std::make_unique<FileInWork>();
    file->index = m_next;
    file->entry = entry;
    file->slot = FreeSlot();
    const BatchFile batch = BatchFileOfSlot(file->slot);
    AnsiText ansiInput;
    const bool spelled = ToAnsi(entry, ansiInput);
    ToolRun tools;
    if (spelled) {
        tools = PlanToolRun(m_settings, ansiInput, batch, foldersKept);
        file->mp3 = tools.output;
    } else {
        const OutputPathParts<std::string> parts =
            SplitOutputPath(entry, ToUtf8(m_settings.m_outputDir), foldersKept);
        file->mp3 = (parts.directory.empty() ? std::string() : m_outputFolder) + parts.droppedName;
    }
    if (SkipsDoneFiles(m_settings) && Mp3IsDone(QueryFileState(entry), QueryFileState(file->mp3))) {
        Skipped(file->index);
        return;
    }

    // An MP3 name belongs to the first file of the run that claims it.
    const std::string inputKey = FileNameKey(entry);
    file->mp3Key = FileNameKey(file->mp3);
    switch (m_outputs.Check(file->mp3Key, inputKey)) {
    case RunOutputs::Claim::SameInput: {
        for (const auto& other : m_inWork) {
            if (other->mp3Key == file->mp3Key) {
                other->followers.push_back(m_next++);
                return;
            }
        }
        const Fate& fate = m_fates[file->mp3Key];
        if (fate.converted)
            Converted(file->index);
        else
            Kept(file->index, fate.report);
        return;
    }
    case RunOutputs::Claim::OtherInput:
        Kept(file->index,
             {"another file of this run already makes " + file->mp3, "", "", file->mp3});
        return;
    case RunOutputs::Claim::Free:
        m_outputs.Add(file->mp3Key, inputKey);
        break;
    }
    // A file that cannot start stays listed; its work file and its alias go
    // with it.
    FailureReport report;
    report.mp3 = file->mp3;
    const auto keepUnrun = [&] {
        m_fates[file->mp3Key] = {false, report};
        Kept(file->index, report);
    };
    report.reason = ProblemWithInput(entry);
    if (!report.reason.empty()) {
        keepUnrun();
        return;
    }
    if (!OutputFolderReady(file->mp3)) {
        const std::size_t backslash = file->mp3.rfind('\\');
        report.reason = "the output folder " + file->mp3.substr(0, backslash) + " cannot be made";
        keepUnrun();
        return;
    }
    file->guard.reset(new Mp3Guard(file->mp3));
    if (!file->guard->Begin(report.reason)) {
        keepUnrun();
        return;
    }

    const std::string folder = FolderOf(file->mp3);
    if (m_workFolders.insert(FileNameKey(folder)).second)
        ReclaimWorkFiles(folder);
    file->work.reset(new WorkFile);
    if (!file->work->Make(file->mp3)) {
        report.reason = "no work file can be made beside " + file->mp3;
        keepUnrun();
        return;
    }

    // The tools get a name they can open and write the work file or, where
    // ANSI cannot spell that either, an MP3 beside the second name, which
    // then comes to the work file.
    if (spelled) {
        AimAtWorkFile(m_settings, ansiInput, file->work->Path(), tools);
    } else {
        file->alias.reset(new ToolAlias);
        if (!file->alias->Make(entry)) {
            report.reason =
                "its name cannot be spelled in the ANSI code page, and no second "
                "name for the tools can be made in the temporary folder";
            keepUnrun();
            return;
        }
        ConversionSettings besideAlias = m_settings;
        besideAlias.m_outputDir.clear();
        tools = PlanToolRun(besideAlias, file->alias->AnsiPath(), batch);
        AimAtWorkFile(m_settings, file->alias->AnsiPath(), file->work->Path(), tools);
    }
    file->toolMp3 = tools.output;
    file->batchLine = tools.line;
    file->before = QueryFileState(file->toolMp3);

    PipelineJob job;
    job.batchFileName = BatchFileNameOfSlot(file->slot);
    if (!ToOem(tools.line, job.batchLine)) {
        report.reason =
            "the console's code page, in which the command processor reads the batch "
            "file, cannot spell the settings (a tool's location, its switches or the "
            "output directory)";
        keepUnrun();
        return;
    }
    job.outputFile = file->toolMp3;
    if (!tools.variables.line.empty())
        job.variables = {{kInputVariable, tools.variables.input},
                         {kOutputVariable, tools.variables.output}};
    m_runner.Start(file->slot, job);
    m_inWork.push_back(std::move(file));
    ++m_next;
}

// Why the MP3 of a pipeline that ran does not count; empty when it does. A
// damaged file the decoder gave up on halfway still ends with the encoder's
// status: only the MP3's length tells. The MP3 counts only once it has its
// tags and its true name, which it gets in one step, over the MP3 there.
std::string ConversionRun::ProblemWithMp3(const FileInWork& file, const PipelineResult& result,
                                          const FileState& after) const {
    if (result.status != 0)
        return WithToolWords("the tools ended with status " + std::to_string(result.status),
                             result.output);
    if (!WroteFile(file.before, after))
        return WithToolWords("the encoder wrote no MP3", result.output);
    if (after.size == 0)
        return WithToolWords("the encoder wrote an empty MP3", result.output);
    const LengthCheck length = CheckMp3Length(file.entry, file.toolMp3);
    if (!length.audio)
        return WithToolWords("the encoder wrote no MPEG audio", result.output);
    if (!length.complete)
        return "the MP3 lasts " + Seconds(length.mp3Seconds) + "; the Musepack stream " +
               Seconds(length.streamSeconds);
    std::string problem;
    if (!CarryTagsOver(file.entry, file.toolMp3,
                       {m_settings.m_mppdecPath, m_settings.m_mppdecSwitches}, problem))
        return problem;
    if (file.toolMp3 != file.work->Path() && !MoveFileOver(file.toolMp3, file.work->Path()))
        return "the MP3 cannot be moved to " + file.work->Path() + ": " + LastSystemErrorText();
    if (!file.work->PutInPlace(problem))
        return "the MP3 cannot take the place of " + file.mp3 + ": " + problem;
    return std::string();
}

void ConversionRun::Settle(FileInWork& file, const PipelineResult& result) {
    FailureReport report;
    report.batchLine = ToUtf8(file.batchLine);
    report.toolOutput = ToUtf8(result.output);
    report.mp3 = file.mp3;
    const FileState after = QueryFileState(file.toolMp3);
    switch (result.end) {
    case PipelineEnd::BatchFileNotWritten:
        m_stopped = true;
        m_problem = BatchFileNameOfSlot(file.slot) + " cannot be written in " +
                    ToUtf8(FullPathInCurrentDirectory(".")) + ": " + result.problem;
        report.reason = "not run: " + m_problem;
        report.batchLine.clear();
        break;
    case PipelineEnd::NotStarted:
        report.reason = "the command processor cannot be started: " + result.problem;
        break;
    case PipelineEnd::EndedByUser:
        report.reason = "ended by the user";
        break;
    case PipelineEnd::Stalled:
        report.reason = "stalled: its tools did nothing for 5 minutes";
        break;
    case PipelineEnd::Ran: {
        report.reason = ProblemWithMp3(file, result, after);
        const std::string refusal = DecoderRefusal(m_settings, report.toolOutput);
        if (!report.reason.empty() && !refusal.empty())
            report.reason = refusal + "; " + report.reason;
        break;
    }
    }

    // A failure leaves the MP3 there as it was: only the work file goes.
    const bool converted = report.reason.empty();
    if (!converted &&
        (WroteFile(file.before, after) || WroteFile(file.before, QueryFileState(file.toolMp3))))
        RemoveFile(file.toolMp3);
    file.work.reset();
    file.alias.reset();
    file.guard.reset();
    m_fates[file.mp3Key] = {converted, report};

    // The last entry first, so every index still names its entry.
    std::vector<int> entries = file.followers;
    entries.push_back(file.index);
    std::sort(entries.rbegin(), entries.rend());
    if (converted) {
        for (int index : entries)
            Converted(index);
    } else {
        std::sort(entries.begin(), entries.end());
        for (int index : entries)
            Kept(index, report);
    }
}

void ConversionRun::Converted(int index) {
    ++m_converted;
    if (m_events != nullptr)
        m_events->EntryConverted(index);
    m_queue.Delete(index);
    EntryGone(index);
}

void ConversionRun::Skipped(int index) {
    ++m_skipped;
    m_queue.Delete(index);
    EntryGone(index);
}

void ConversionRun::Kept(int index, const FailureReport& report) {
    ++m_kept;
    if (index == m_next)
        ++m_next;
    if (m_events != nullptr)
        m_events->EntryKept(index, report);
}

// Every index after a deleted entry moves up by one.
void ConversionRun::EntryGone(int index) {
    for (const auto& file : m_inWork) {
        if (file->index > index)
            --file->index;
        for (int& follower : file->followers)
            if (follower > index)
                --follower;
    }
    if (m_next > index)
        --m_next;
}

void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue, RunEvents* events) {
    const std::unique_ptr<PipelineRunner> runner = MakeBatchFileRunner(nullptr);
    ConversionRun run(settings, queue, *runner, events);
    run.StartFiles();
    while (!run.Over()) {
        runner->WaitForEnd();
        run.Collect();
    }
}
