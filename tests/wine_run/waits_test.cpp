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
