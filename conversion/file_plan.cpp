#include "file_plan.h"

#include "file_system.h"
#include "pipeline.h"
#include "text_conversion.h"
#include "text_encoding.h"

namespace {

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

// The line of `run` with the encoder writing `work` (UTF-8) instead; `run`
// as it was when the ANSI code page cannot spell `work`.
void AimAtWorkFile(const ConversionSettings& settings, const AnsiText& ansiInput,
                   const std::string& work, ToolRun& run) {
    AnsiText ansiWork;
    if (!ToAnsi(work, ansiWork))
        return;
    run.variables = VariableCommand();
    run.line = BuildCommandWritingTo(settings, ansiInput, ansiWork);
    OemText unused;
    if (!ToOem(run.line, unused)) {
        run.variables = BuildVariableCommandWritingTo(settings, ansiInput, ansiWork);
        run.line = run.variables.line;
    }
    run.output = work;
}

}  // namespace

BatchFile BatchFileOfSlot(int slot) {
    const std::string name = BatchFileNameOfSlot(slot);
    return {FromAscii<AnsiText>(name.c_str()), FullPathInCurrentDirectory(name.c_str())};
}

std::string ExpandedOutputFolder(const ConversionSettings& settings) {
    const AnsiText directory = SplitOutputPath(AnsiText("\\"), settings.m_outputDir).directory;
    OemText unused;
    const VariableCommand none;
    return ToUtf8(ToOem(directory, unused) ? ExpandedByCommandProcessor(
                                                 directory, BatchFileOfSlot(0), LineVariables(none))
                                           : directory);
}

FilePlan PlanFile(const ConversionSettings& settings, const std::string& entry, int foldersKept,
                  const BatchFile& batch, const std::string& outputFolder) {
    FilePlan plan;
    plan.spelled = ToAnsi(entry, plan.ansiInput);
    if (plan.spelled) {
        plan.tools = PlanToolRun(settings, plan.ansiInput, batch, foldersKept);
        plan.mp3 = plan.tools.output;
    } else {
        const OutputPathParts<std::string> parts =
            SplitOutputPath(entry, ToUtf8(settings.m_outputDir), foldersKept);
        plan.mp3 = (parts.directory.empty() ? std::string() : outputFolder) + parts.droppedName;
    }
    return plan;
}

ToolRun PlanToolsWriting(const ConversionSettings& settings, const FilePlan& plan,
                         const std::string& work, const AnsiText* alias, const BatchFile& batch) {
    if (alias == nullptr) {
        ToolRun tools = plan.tools;
        AimAtWorkFile(settings, plan.ansiInput, work, tools);
        return tools;
    }
    ConversionSettings besideAlias = settings;
    besideAlias.m_outputDir.clear();
    ToolRun tools = PlanToolRun(besideAlias, *alias, batch);
    AimAtWorkFile(settings, *alias, work, tools);
    return tools;
}
