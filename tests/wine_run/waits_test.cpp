// The run waits for each pipeline to finish before it moves on: a slow tool
// still delivers every byte; but nothing of a pipeline outlives it or reaches
// it that is not its own.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "case_folder.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "file_system.h"
#include "memory_file_queue.h"
#include "pipeline.h"
#include "self_check.h"
#include "test_files.h"

TEST_CASE(RunWaitsForSlowTools, "the run waits for a slow decoder and for a slow encoder") {
    for (const char* variable : {"BRAMKOT_DELAY_DECODER_MS", "BRAMKOT_DELAY_ENCODER_MS"}) {
        std::printf("  %s=600\n", variable);
        CaseFolder folder("slow");
        SetToolVariable(variable, "600");
        MemoryFileQueue queue;
        queue.Append(folder.MakeInput("one.mpc").c_str());
        queue.Append(folder.MakeInput("two.mpc").c_str());

        // A run that returned before the slow tool was done would find an
        // MP3 missing or short.
        RunConversionQueue(FakeToolSettings("", "", ""), queue);

        CHECK(queue.Entries().empty());
        CHECK(ReadFileBytes(folder.WidePath("one.mp3")) == FakeDecoderOutput());
        CHECK(ReadFileBytes(folder.WidePath("two.mp3")) == FakeDecoderOutput());
    }
}

// "Files at once" 2: two pipelines overlap, never three, each in a batch file
// of its own, and every MP3 is whole. A pipeline is open from its decoder's
// record to its encoder's (the command processor runs the encoder once the
// decoder is done; a new file starts only after a pipeline has ended).
TEST_CASE(TwoFilesAtOnceNeverThree, "two files at once: two pipelines overlap, never three") {
    CaseFolder folder("two at once");
    SetToolVariable("BRAMKOT_DELAY_DECODER_MS", "800");
    MemoryFileQueue queue;
    for (const char* name : {"1.mpc", "2.mpc", "3.mpc", "4.mpc"})
        queue.Append(folder.MakeInput(name).c_str());
    ConversionSettings settings = FakeToolSettings("", "", "");
    settings.m_filesAtOnce = AnsiText("2");

    RunConversionQueue(settings, queue);

    CHECK(queue.Entries().empty());
    int open = 0;
    int most = 0;
    for (const ToolRecord& record : folder.Records()) {
        open += record.tool == "decoder" ? 1 : -1;
        most = open > most ? open : most;
    }
    CHECK_EQ(static_cast<long long>(most), 2LL);
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"})
        CHECK(ReadFileBytes(folder.WidePath(name)) == FakeDecoderOutput());
    CHECK_EQ(FolderNames(AnsiToWide(folder.path())),
             std::vector<std::string>({"1.mp3", "1.mpc", "2.mp3", "2.mpc", "3.mp3", "3.mpc",
                                       "4.mp3", "4.mpc", "tool log.txt"}));
}

// A file the program has open while a pipeline starts stays the program's
// alone: once closed, it can be renamed and deleted though that pipeline
// still runs (an inherited handle would keep it open in the tools).
TEST_CASE(ToolsInheritNoFileOfTheProgram, "a file the program closed is free while tools run") {
    CaseFolder folder("handles");
    const std::string input = folder.MakeInput("slow.mpc");
    WriteFileBytes(folder.WidePath("held.bin"), "the program's");
    std::FILE* held = OpenFile(AnsiToUtf8(folder.Path("held.bin")), "rb");
    CHECK(held != nullptr);
    SetToolVariable("BRAMKOT_DELAY_DECODER_MS", "5000");
    const std::unique_ptr<PipelineRunner> runner = MakeBatchFileRunner(nullptr);
    PipelineJob job;
    job.batchFileName = BatchFileNameOfSlot(0);
    job.batchLine = OemText(("\"" + FakeTools().decoder + "\" \"" + input + "\" - >nul").c_str());
    runner->Start(0, job);
    while (folder.Records("decoder").empty())
        Sleep(20);
    if (held != nullptr)
        std::fclose(held);

    const bool moved =
        MoveFileW(folder.WidePath("held.bin").c_str(), folder.WidePath("moved.bin").c_str()) != 0;
    const bool deleted = DeleteFileW(folder.WidePath("moved.bin").c_str()) != 0;
    int slot = -1;
    PipelineResult result;
    const bool endedBefore = runner->TakeEnded(slot, result);
    runner->WaitForEnd();
    CHECK(runner->TakeEnded(slot, result));
    CHECK(moved);
    CHECK(deleted);
    CHECK(!endedBefore);
    CHECK(result.end == PipelineEnd::Ran && result.status == 0);
}

// A tool that leaves a detached child holding the pipe does not keep its
// file in work: the file settles, and the child is ended, long before it
// would have ended by itself.
TEST_CASE(DetachedChildHoldsNoFile, "a detached child holding the pipe keeps no file in work") {
    CaseFolder folder("detached child");
    SetToolVariable("BRAMKOT_CHILD_MARKER", folder.Path("child lived on").c_str());
    MemoryFileQueue queue;
    queue.Append(folder.MakeInput("one.mpc").c_str());

    RunConversionQueue(FakeToolSettings("", "", ""), queue);

    CHECK(queue.Entries().empty());
    CHECK(ReadFileBytes(folder.WidePath("one.mp3")) == FakeDecoderOutput());
    CHECK(!FileExists(folder.WidePath("child lived on")));
    CHECK_EQ(FolderNames(AnsiToWide(folder.path())),
             std::vector<std::string>({"one.mp3", "one.mpc", "tool log.txt"}));
}
