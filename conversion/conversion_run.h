#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "conversion_settings.h"
#include "file_outcome.h"
#include "file_queue.h"
#include "file_transaction.h"
#include "files_at_once.h"
#include "pipeline.h"

// Why a file did not convert, for the user and for a bug report (UTF-8).
struct FailureReport {
    std::string reason;      // one sentence
    std::string batchLine;   // the line as it was run; empty when nothing ran
    std::string toolOutput;  // the last of what the command processor and the tools printed
    std::string mp3;         // the MP3 file it makes
};

// The ends of entries, each told by where the entry stands at that moment.
class RunEvents {
public:
    virtual ~RunEvents() = default;
    // Entry `index` did not convert and stays listed.
    virtual void EntryKept(int index, const FailureReport& report) = 0;
    // Entry `index` converted; it leaves the list when this returns.
    virtual void EntryConverted(int /*index*/) {}
};

struct FileInWork;  // conversion_run.cpp

struct EntryInWork {
    int index;         // where it stands in the list
    std::string path;  // UTF-8
};

// One press of "Convert Files": converts the queue's entries in list order,
// up to a number of them at once, each through a one-line batch file that
// the command processor runs. An entry leaves the queue when its MP3 is
// made, complete and tagged; one that failed stays where it is, without an
// MP3 of this run and with the MP3 it had before, and the run goes on with
// the next (one pass: pressing "Convert Files" again retries what is left).
// Entries appended while the run lasts are converted too.
//
// The run blocks only in EndNowAndWait: the caller starts it, hands it each
// pipeline's end as the runner reports it (Collect), and may stop it or end
// the files in work. A batch file that cannot be written ends the start of
// new files. The run knows its entries by their ids (FileQueue), and goes on
// after the last entry it began; only the run deletes entries while it lasts.
class ConversionRun {
public:
    ConversionRun(const ConversionSettings& settings, FileQueue& queue, PipelineRunner& runner,
                  RunEvents* events = nullptr);
    // Ends the files still in work without waiting for them: the owner calls
    // EndNowAndWait before.
    ~ConversionRun();
    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    // Starts files in list order until as many as the run allows are in work.
    void StartFiles();
    // Settles every file whose pipeline has ended, then starts the next ones.
    void Collect();
    // No new file starts; those in work finish.
    void Stop() { m_stopped = true; }
    // Ends the files in work at once; they stay listed.
    void EndNow();
    // EndNow, then waits for their pipelines and settles them: when it
    // returns, no tool of the run is left, nor a work file or a batch file.
    void EndNowAndWait();

    bool Stopped() const { return m_stopped; }
    // True, once StartFiles or Collect has returned, when no file is in work:
    // none will start but of entries appended since.
    bool Over() const { return m_inWork.empty(); }

    // Files finished this run, converted, skipped or not, of Total(): those
    // listed at the start and those appended since.
    int Finished() const { return m_converted + m_kept + m_skipped; }
    int Total() const;
    int Converted() const { return m_converted; }
    // Files whose MP3 was there already (skip_rule.h): they left the list.
    int Skipped() const { return m_skipped; }
    int Kept() const { return m_kept; }
    // The entries in work, in list order.
    std::vector<EntryInWork> FilesInWork() const;
    // Why the run started no more files before the end of the list; empty
    // when it did not end early.
    const std::string& Problem() const { return m_problem; }

private:
    // A file's end once its turn is over, for later entries of the same input.
    struct Fate {
        bool converted = false;
        FailureReport report;
    };

    void BeginFile(EntryId id, const std::string& entry, int foldersKept);
    // False when the entry does not run: its MP3 is another's, or it shares
    // the end of an earlier entry of its input.
    bool ClaimMp3(EntryId id, const std::string& inputKey, const std::string& mp3Key,
                  const std::string& mp3);
    void Settle(std::unique_ptr<FileInWork> work, const PipelineResult& result);
    std::string WhyNotConverted(FileTransaction& file, int slot, const PipelineResult& result);
    void EndConverted(EntryId id);
    void EndSkipped(EntryId id);
    void EndKept(EntryId id, const FailureReport& report);
    void Remove(EntryId id);
    // The first entry not yet begun.
    int NextIndex() const;
    int FreeSlot() const;

    const ConversionSettings m_settings;
    FileQueue& m_queue;
    PipelineRunner& m_runner;
    RunEvents* m_events;
    int m_filesAtOnce;
    const std::string m_outputFolder;  // ExpandedOutputFolder's
    RunOutputs m_outputs;
    std::map<std::string, Fate> m_fates;  // by MP3 key
    RunFolders m_folders;

    std::vector<std::unique_ptr<FileInWork>> m_inWork;
    EntryId m_lastBegun = 0;  // 0 before the first
    int m_converted = 0;
    int m_kept = 0;
    int m_skipped = 0;
    bool m_stopped = false;
    std::string m_problem;
};

// Runs a whole conversion and returns when it is over, waiting for each
// pipeline without a window (blocking_run.cpp).
void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue,
                        RunEvents* events = nullptr);
