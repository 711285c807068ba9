#include "conversion_run.h"

#include <cstdio>
#include <string>

#include "conversion_command.h"
#include "file_outcome.h"
#include "mp3_finish.h"
#include "platform_files.h"
#include "tool_alias.h"

#ifdef _WIN32
#include <io.h>
#define unlink _unlink
#else
#include <unistd.h>
#endif

namespace {

// A batch file cut short by a full disk would run half a command, so the
// write counts only when every byte reached the file.
bool WriteBatchFile(const std::string& line) {
    FILE* file = std::fopen(kBatchFileName, "wt");
    if (file == nullptr)
        return false;
    bool written = std::fprintf(file, "%s\n", line.c_str()) >= 0;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written)
        unlink(kBatchFileName);
    return written;
}

// One pipeline as it will run: its line in the ANSI code page and, when the
// batch file's code page cannot spell that line, the variables it reads the
// dropped name from instead.
struct ToolRun {
    std::string line;
    VariableCommand variables;
    std::string output;  // UTF-8: the MP3 file the encoder writes
};

// Variable names compare without letter case.
bool SameVariable(const std::string& name, const char* upperName) {
    std::size_t i = 0;
    for (; i < name.size() && upperName[i] != '\0'; ++i) {
        const char c = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
        if (c != upperName[i])
            return false;
    }
    return i == name.size() && upperName[i] == '\0';
}

// The environment the command processor will see for one line: the line's
// own variables, then the program's environment.
class LineVariables : public BatchVariables {
public:
    explicit LineVariables(const VariableCommand& command) : m_command(command) {}

    bool Lookup(const std::string& name, std::string& value) const override {
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

// The last double-quoted argument of a line, where the encoder's output goes.
std::string LastQuoted(const std::string& line) {
    if (line.size() < 2 || line.back() != '"')
        return std::string();
    const std::size_t open = line.rfind('"', line.size() - 2);
    return open == std::string::npos ? std::string()
                                     : line.substr(open + 1, line.size() - 2 - open);
}

// The MP3 file that a run of `line` writes is the file its last argument
// names once the command processor has expanded "%" over the whole line, so
// it is worked out the same way, on the line as written.
ToolRun PlanToolRun(const ConversionSettings& settings, const std::string& ansiInput,
                    const BatchFile& batch) {
    ToolRun run;
    const std::string line = BuildConversionCommand(settings, ansiInput);
    std::string unused;
    if (ToBatchFileCodePage(line, unused)) {
        run.line = line;
    } else {
        const bool outputDirSpelled = ToBatchFileCodePage(settings.m_outputDir, unused);
        run.variables = BuildVariableCommand(settings, ansiInput, !outputDirSpelled);
        run.line = run.variables.line;
    }
    const LineVariables variables(run.variables);
    run.output = AnsiToUtf8(LastQuoted(ExpandedByCommandProcessor(run.line, batch, variables)));
    return run;
}

// Writes, runs and deletes the batch file; false when it cannot be written.
bool RunTools(const ToolRun& run, int& status) {
    const BatchFileTurn turn(kBatchFileName);
    std::string batchLine;
    ToBatchFileCodePage(run.line, batchLine);
    if (!WriteBatchFile(batchLine))
        return false;
    const bool byVariables = !run.variables.line.empty();
    if (byVariables) {
        SetBatchVariable(kInputVariable, run.variables.input.c_str());
        SetBatchVariable(kOutputVariable, run.variables.output.c_str());
    }
    status = RunBatchFile();
    if (byVariables) {
        SetBatchVariable(kInputVariable, nullptr);
        SetBatchVariable(kOutputVariable, nullptr);
    }
    unlink(kBatchFileName);
    return true;
}

enum class EntryEnd { Done, Kept, Stop };

class ConversionRun {
public:
    explicit ConversionRun(const ConversionSettings& settings);
    EntryEnd Convert(const std::string& entry);

private:
    bool OutputFolderReady(const std::string& mp3);

    const ConversionSettings& m_settings;
    BatchFile m_batch;
    // The output directory as the command processor uses it (UTF-8, with its
    // backslash), for MP3 files whose name no line holds.
    std::string m_outputFolder;
    RunOutputs m_outputs;
    std::string m_folderKey;  // the output folder last made or found
    bool m_folderReady = false;
};

ConversionRun::ConversionRun(const ConversionSettings& settings)
    : m_settings(settings), m_batch{kBatchFileName, FullPathInCurrentDirectory(kBatchFileName)} {
    const std::string directory = SplitOutputPath("\\", settings.m_outputDir).directory;
    std::string unused;
    const VariableCommand none;
    m_outputFolder =
        AnsiToUtf8(ToBatchFileCodePage(directory, unused)
                       ? ExpandedByCommandProcessor(directory, m_batch, LineVariables(none))
                       : directory);
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

EntryEnd ConversionRun::Convert(const std::string& entry) {
    std::string ansiInput;
    const bool spelled = ToAnsiExactly(entry, ansiInput);
    ToolRun tools;
    std::string mp3;
    if (spelled) {
        tools = PlanToolRun(m_settings, ansiInput, m_batch);
        mp3 = tools.output;
    } else {
        const OutputPathParts parts = SplitOutputPath(entry, m_settings.m_outputDir);
        mp3 = (parts.directory.empty() ? std::string() : m_outputFolder) + parts.droppedName;
    }

    const std::string inputKey = FileNameKey(entry);
    const std::string mp3Key = FileNameKey(mp3);
    switch (m_outputs.Check(mp3Key, inputKey)) {
    case RunOutputs::Claim::SameInput:
        return EntryEnd::Done;
    case RunOutputs::Claim::OtherInput:
        return EntryEnd::Kept;
    case RunOutputs::Claim::Free:
        break;
    }
    if (!OutputFolderReady(mp3))
        return EntryEnd::Kept;

    // The tools get a name they can open and write an MP3 beside it, which
    // then moves to its true name.
    ToolAlias alias;
    if (!spelled) {
        if (!alias.Make(entry))
            return EntryEnd::Kept;
        ConversionSettings besideAlias = m_settings;
        besideAlias.m_outputDir.clear();
        tools = PlanToolRun(besideAlias, alias.AnsiPath(), m_batch);
    }

    const FileState before = QueryFileState(tools.output);
    int status = -1;
    if (!RunTools(tools, status))
        return EntryEnd::Stop;
    const FileState after = QueryFileState(tools.output);

    // A damaged file the decoder gave up on halfway still ends with the
    // encoder's status: only the MP3's length tells.
    bool converted = PipelineConverted(before, after, status) && Mp3IsComplete(entry, tools.output);
    if (converted)
        CarryTagsOver(entry, tools.output);
    if (converted && !spelled)
        converted = MoveFileOver(tools.output, mp3);
    if (!converted) {
        if (WroteFile(before, after))
            RemoveFile(tools.output);
        return EntryEnd::Kept;
    }
    m_outputs.Add(mp3Key, inputKey);
    return EntryEnd::Done;
}

}  // namespace

void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue) {
    ConversionRun run(settings);
    PathBuffer entry;
    int index = 0;
    while (queue.Read(index, entry)) {
        switch (run.Convert(entry.m_text)) {
        case EntryEnd::Done:
            queue.Delete(index);
            break;
        case EntryEnd::Kept:
            ++index;
            break;
        case EntryEnd::Stop:
            return;
        }
    }
}
