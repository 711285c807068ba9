#include "file_transaction.h"

#include <cstdio>

#include "file_system.h"
#include "text_conversion.h"

namespace {

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

}  // namespace

bool RunFolders::OutputFolderReady(const std::string& mp3) {
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

void RunFolders::ReclaimWorkFilesOnce(const std::string& folder) {
    if (m_workFolders.insert(FileNameKey(folder)).second)
        ReclaimWorkFiles(folder);
}

FileTransaction::FileTransaction(const ConversionSettings& settings, const std::string& entry,
                                 const FilePlan& plan)
    : m_settings(settings), m_entry(entry), m_plan(plan) {}

FileTransaction::~FileTransaction() {
    if (!m_committed && !m_toolMp3.empty() && WroteFile(m_before, QueryFileState(m_toolMp3)))
        RemoveFile(m_toolMp3);
}

bool FileTransaction::Begin(const BatchFile& batch, RunFolders& folders, PipelineJob& job,
                            std::string& problem) {
    const std::string& mp3 = Mp3();
    problem = ProblemWithInput(m_entry);
    if (!problem.empty())
        return false;
    if (!folders.OutputFolderReady(mp3)) {
        problem = "the output folder " + mp3.substr(0, mp3.rfind('\\')) + " cannot be made";
        return false;
    }
    m_guard.reset(new Mp3Guard(mp3));
    if (!m_guard->Begin(problem))
        return false;
    folders.ReclaimWorkFilesOnce(FolderOf(mp3));
    m_work.reset(new WorkFile);
    if (!m_work->Make(mp3)) {
        problem = "no work file can be made beside " + mp3;
        return false;
    }
    if (!m_plan.spelled) {
        m_alias.reset(new ToolAlias);
        if (!m_alias->Make(m_entry)) {
            problem =
                "its name cannot be spelled in the ANSI code page, and no second "
                "name for the tools can be made in the temporary folder";
            return false;
        }
    }

    // The tools never see the true name: they write the work file or, where
    // ANSI cannot spell that either, an MP3 beside the second name, which
    // then comes to the work file.
    const ToolRun tools = PlanToolsWriting(m_settings, m_plan, m_work->Path(),
                                           m_alias ? &m_alias->AnsiPath() : nullptr, batch);
    m_toolMp3 = tools.output;
    m_batchLine = tools.line;
    m_before = QueryFileState(m_toolMp3);
    if (!ToOem(tools.line, job.batchLine)) {
        problem =
            "the console's code page, in which the command processor reads the batch "
            "file, cannot spell the settings (a tool's location, its switches or the "
            "output directory)";
        return false;
    }
    job.outputFile = m_toolMp3;
    if (!tools.variables.line.empty())
        job.variables = {{kInputVariable, tools.variables.input},
                         {kOutputVariable, tools.variables.output}};
    return true;
}
