// The run waits for each pipeline to finish before it moves on: a slow tool
// still delivers every byte, and two slow conversions take twice as long.
#include <windows.h>

#include "case_folder.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "memory_file_queue.h"
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

        const ULONGLONG start = GetTickCount64();
        RunConversionQueue(FakeToolSettings("", "", ""), queue);
        const ULONGLONG elapsed = GetTickCount64() - start;

        CHECK(queue.Entries().empty());
        CHECK(elapsed >= 1150);
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
