#include "conversion_run.h"

#include <algorithm>
#include <string>

#include "decoder_refusal.h"
#include "file_finish.h"
#include "file_plan.h"
#include "file_system.h"
#include "file_verdict.h"
#include "mp3_finish.h"
#include "skip_rule.h"
#include "text_conversion.h"

// One entry from the start of its pipeline to its end.
struct FileInWork {
    FileInWork(EntryId entryId, int slotOfFile, const std::string& key,
               const ConversionSettings& settings, const std::string& entry, const FilePlan& plan)
        : id(entryId), slot(slotOfFile), mp3Key(key), file(settings, entry, plan) {}

    const EntryId id;
    const int slot;
    const std::string mp3Key;
    FileTransaction file;
    std::vector<EntryId> followers;  // later entries of the same input: they share its fate
};

ConversionRun::ConversionRun(const ConversionSettings& settings, FileQueue& queue,
                             PipelineRunner& runner, RunEvents* events)
    : m_settings(settings),
      m_queue(queue),
      m_runner(runner),
      m_events(events),
      m_filesAtOnce(FilesAtOnce(settings)),
      m_outputFolder(ExpandedOutputFolder(settings)),
      m_folders(m_settings) {
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

int ConversionRun::NextIndex() const {
    return m_lastBegun == 0 ? 0 : m_queue.IndexOf(m_lastBegun) + 1;
}

int ConversionRun::Total() const {
    int followers = 0;
    for (const auto& work : m_inWork)
        followers += static_cast<int>(work->followers.size());
    return Finished() + static_cast<int>(m_inWork.size()) + followers + m_queue.Count() -
           NextIndex();
}

std::vector<EntryInWork> ConversionRun::FilesInWork() const {
    std::vector<EntryInWork> entries;
    for (const auto& work : m_inWork)
        entries.push_back({m_queue.IndexOf(work->id), work->file.Entry()});
    std::sort(entries.begin(), entries.end(),
              [](const EntryInWork& a, const EntryInWork& b) { return a.index < b.index; });
    return entries;
}

void ConversionRun::EndNow() {
    m_stopped = true;
    for (const auto& work : m_inWork)
        m_runner.EndNow(work->slot);
}

int ConversionRun::FreeSlot() const {
    for (int slot = 0;; ++slot) {
        bool taken = false;
        for (const auto& work : m_inWork)
            taken = taken || work->slot == slot;
        if (!taken)
            return slot;
    }
}

void ConversionRun::StartFiles() {
    PathBuffer entry;
    for (int next = NextIndex(); !m_stopped && static_cast<int>(m_inWork.size()) < m_filesAtOnce &&
                                 m_queue.Read(next, entry);
         next = NextIndex())
        BeginFile(m_queue.IdAt(next), entry.m_text, m_queue.FoldersKept(next));
}

void ConversionRun::Collect() {
    int slot = 0;
    PipelineResult result;
    while (m_runner.TakeEnded(slot, result)) {
        const auto found = std::find_if(m_inWork.begin(), m_inWork.end(),
                                        [&](const auto& work) { return work->slot == slot; });
        if (found == m_inWork.end())
            continue;
        std::unique_ptr<FileInWork> work = std::move(*found);
        m_inWork.erase(found);
        Settle(std::move(work), result);
    }
    StartFiles();
}

void ConversionRun::BeginFile(EntryId id, const std::string& entry, int foldersKept) {
    m_lastBegun = id;
    const int slot = FreeSlot();
    const BatchFile batch = BatchFileOfSlot(slot);
    const FilePlan plan = PlanFile(m_settings, entry, foldersKept, batch, m_outputFolder);
    if (SkipsDoneFiles(m_settings) && Mp3IsDone(QueryFileState(entry), QueryFileState(plan.mp3))) {
        EndSkipped(id);
        return;
    }
    const std::string mp3Key = FileNameKey(plan.mp3);
    if (!ClaimMp3(id, FileNameKey(entry), mp3Key, plan.mp3))
        return;

    // A file that cannot start stays listed; what it took goes with it.
    auto work = std::make_unique<FileInWork>(id, slot, mp3Key, m_settings, entry, plan);
    PipelineJob job;
    job.batchFileName = BatchFileNameOfSlot(slot);
    FailureReport report;
    report.mp3 = plan.mp3;
    if (!work->file.Begin(batch, m_folders, job, report.reason)) {
        work.reset();
        m_fates[mp3Key] = {false, report};
        EndKept(id, report);
        return;
    }
    m_runner.Start(slot, job);
    m_inWork.push_back(std::move(work));
}

// An MP3 name belongs to the first file of the run that claims it. A later
// entry of the same input shares that file's end.
bool ConversionRun::ClaimMp3(EntryId id, const std::string& inputKey, const std::string& mp3Key,
                             const std::string& mp3) {
    switch (m_outputs.Check(mp3Key, inputKey)) {
    case RunOutputs::Claim::Free:
        m_outputs.Add(mp3Key, inputKey);
        return true;
    case RunOutputs::Claim::OtherInput:
        EndKept(id, {"another file of this run already makes " + mp3, "", "", mp3});
        return false;
    case RunOutputs::Claim::SameInput:
        break;
    }
    for (const auto& other : m_inWork) {
        if (other->mp3Key == mp3Key) {
            other->followers.push_back(id);
            return false;
        }
    }
    const Fate& fate = m_fates[mp3Key];
    if (fate.converted)
        EndConverted(id);
    else
        EndKept(id, fate.report);
    return false;
}

// The words of the end of a file whose pipeline ended; empty when its MP3
// is in place.
std::string ConversionRun::WhyNotConverted(FileTransaction& file, int slot,
                                           const PipelineResult& result) {
    PipelineResult ended = result;
    if (result.end == PipelineEnd::BatchFileNotWritten) {
        m_stopped = true;
        m_problem = BatchFileNameOfSlot(slot) + " cannot be written in " +
                    ToUtf8(FullPathInCurrentDirectory(".")) + ": " + result.problem;
        ended.problem = m_problem;
    }
    const FileState after = QueryFileState(file.ToolMp3());
    const bool written = result.end == PipelineEnd::Ran && after.size > 0;
    const LengthCheck length =
        written ? CheckMp3Length(file.Entry(), file.ToolMp3()) : LengthCheck();
    std::string reason = PipelineVerdict(ended, file.Before(), after, length);
    if (reason.empty())
        reason = FinishMp3(file, {m_settings.m_mppdecPath, m_settings.m_mppdecSwitches});
    if (reason.empty() || result.end != PipelineEnd::Ran)
        return reason;
    const std::string refusal = DecoderRefusal(m_settings, ToUtf8(result.output));
    return refusal.empty() ? reason : refusal + "; " + reason;
}

void ConversionRun::Settle(std::unique_ptr<FileInWork> work, const PipelineResult& result) {
    FailureReport report;
    report.batchLine = ToUtf8(work->file.BatchLine());
    report.toolOutput = ToUtf8(result.output);
    report.mp3 = work->file.Mp3();
    report.reason = WhyNotConverted(work->file, work->slot, result);
    if (result.end == PipelineEnd::BatchFileNotWritten)
        report.batchLine.clear();
    const bool converted = report.reason.empty();
    if (converted)
        work->file.Commit();
    m_fates[work->mp3Key] = {converted, report};

    // The file's transaction ends before its entries do. Ids grow down the
    // list: converted entries leave from the last up, kept ones report from
    // the first down.
    std::vector<EntryId> entries = work->followers;
    entries.push_back(work->id);
    work.reset();
    std::sort(entries.begin(), entries.end());
    if (converted) {
        for (auto id = entries.rbegin(); id != entries.rend(); ++id)
            EndConverted(*id);
    } else {
        for (EntryId id : entries)
            EndKept(id, report);
    }
}

void ConversionRun::EndConverted(EntryId id) {
    ++m_converted;
    if (m_events != nullptr)
        m_events->EntryConverted(m_queue.IndexOf(id));
    Remove(id);
}

void ConversionRun::EndSkipped(EntryId id) {
    ++m_skipped;
    Remove(id);
}

void ConversionRun::EndKept(EntryId id, const FailureReport& report) {
    ++m_kept;
    if (m_events != nullptr)
        m_events->EntryKept(m_queue.IndexOf(id), report);
}

// The run goes on after the entry above one that leaves, when that was the
// last entry it began.
void ConversionRun::Remove(EntryId id) {
    const int index = m_queue.IndexOf(id);
    if (id == m_lastBegun)
        m_lastBegun = index > 0 ? m_queue.IdAt(index - 1) : 0;
    m_queue.Delete(index);
}
