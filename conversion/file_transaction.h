#pragma once

#include <memory>
#include <set>
#include <string>

#include "conversion_settings.h"
#include "file_outcome.h"
#include "file_plan.h"
#include "mp3_guard.h"
#include "pipeline.h"
#include "tool_alias.h"
#include "work_file.h"

// The folders one run has made or found, and those it has cleared of stale
// work files: each is done once a run.
class RunFolders {
public:
    explicit RunFolders(const ConversionSettings& settings) : m_settings(settings) {}

    // A missing output directory is made, with every folder above it, before
    // its first file runs. The MP3 next to its input needs nothing made.
    bool OutputFolderReady(const std::string& mp3);
    void ReclaimWorkFilesOnce(const std::string& folder);

private:
    const ConversionSettings& m_settings;
    std::string m_folderKey;  // the output folder last made or found
    bool m_folderReady = false;
    std::set<std::string> m_workFolders;  // by key
};

// What the turn of one file takes, from its start to its end: the lock of
// its MP3 (with an MP3 an older version left aside put back), a work file
// beside the MP3, a second name for the tools where ANSI cannot spell the
// entry. All of it goes when the transaction does, and with it what the
// tools wrote, unless the MP3 was committed: the MP3 the user had stays as
// it was. Paths in UTF-8.
class FileTransaction {
public:
    FileTransaction(const ConversionSettings& settings, const std::string& entry,
                    const FilePlan& plan);
    ~FileTransaction();
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;

    // Takes what the file needs and composes its pipeline in `job`; false,
    // with the reason in `problem`, when the file cannot start.
    bool Begin(const BatchFile& batch, RunFolders& folders, PipelineJob& job, std::string& problem);
    // The MP3 is in place: nothing of it is undone.
    void Commit() { m_committed = true; }

    const std::string& Entry() const { return m_entry; }
    const std::string& Mp3() const { return m_plan.mp3; }
    // What the encoder writes: the work file or the alias's MP3.
    const std::string& ToolMp3() const { return m_toolMp3; }
    WorkFile& Work() { return *m_work; }
    const AnsiText& BatchLine() const { return m_batchLine; }
    // The state of ToolMp3() before the tools ran.
    const FileState& Before() const { return m_before; }

private:
    const ConversionSettings& m_settings;
    const std::string m_entry;
    const FilePlan m_plan;
    std::string m_toolMp3;
    AnsiText m_batchLine;  // as composed
    FileState m_before;
    bool m_committed = false;
    // Released in the reverse order: the work file, the alias, the lock.
    std::unique_ptr<Mp3Guard> m_guard;
    std::unique_ptr<ToolAlias> m_alias;
    std::unique_ptr<WorkFile> m_work;
};
