// What the run does when things go wrong: it stops with the list whole when
// the batch file cannot be written, and otherwise drops every entry it ran,
// however the tools fared.
#include <windows.h>

#include "case_folder.h"
#include "conversion_run.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"

TEST_CASE(UnwritableBatchFileKeepsList,
          "with no batch file possible the list stays whole and no tool runs") {
    CaseFolder folder("blocked");
    CreateDirectoryA("bramkot.bat", nullptr);
    const std::vector<std::string> inputs = {folder.MakeInput("one.mpc"),
                                             folder.MakeInput("two.mpc")};
    MemoryFileQueue queue;
    for (const std::string& input : inputs)
        queue.Append(input.c_str());

    RunConversionQueue(FakeToolSettings("", "", ""), queue);

    CHECK_EQ(queue.Entries(), inputs);
    CHECK(!folder.ToolLogExists());
    CHECK(IsDirectory(folder.WidePath("bramkot.bat")));
    CHECK(!FileExists(folder.WidePath("one.mp3")));
}

TEST_CASE(EmptyListRunsNothing, "an empty list runs nothing and touches no batch file") {
    CaseFolder folder("empty");
    MemoryFileQueue queue;
    RunConversionQueue(FakeToolSettings("", "", ""), queue);
    CHECK(FolderNames(AnsiToWide(folder.path())).empty());

    // A batch file already there would be truncated or deleted by any write.
    const std::string marker = "@echo left alone\r\n";
    WriteFileBytes(folder.WidePath("bramkot.bat"), marker);
    RunConversionQueue(FakeToolSettings("", "", ""), queue);
    bool found = false;
    CHECK(ReadFileBytes(folder.WidePath("bramkot.bat"), &found) == marker);
    CHECK(found);
    CHECK(!folder.ToolLogExists());
}

namespace {

enum class Breakage { DecoderFails, EncoderFails, DecoderMissing, EncoderMissing, NoOutputFolder };

struct FailureCase {
    const char* name;
    Breakage breakage;
    long long decoderRuns;
    long long encoderRuns;
};

}  // namespace

TEST_CASE(FailingToolsStillEmptyList, "a failing or missing tool still removes every entry") {
    const FailureCase cases[] = {
        {"decoder fails", Breakage::DecoderFails, 2, 2},
        {"encoder fails", Breakage::EncoderFails, 2, 2},
        {"decoder missing", Breakage::DecoderMissing, 0, 2},
        {"encoder missing", Breakage::EncoderMissing, 2, 0},
        {"no output folder", Breakage::NoOutputFolder, 2, 2},
    };
    for (const FailureCase& c : cases) {
        std::printf("  %s\n", c.name);
        CaseFolder folder("failure");
        ConversionSettings settings = FakeToolSettings("", "", "");
        switch (c.breakage) {
        case Breakage::DecoderFails:
            SetToolVariable("BRAMKOT_FAIL_DECODER", "1");
            break;
        case Breakage::EncoderFails:
            SetToolVariable("BRAMKOT_FAIL_ENCODER", "1");
            break;
        case Breakage::DecoderMissing:
            settings.m_mppdecPath = folder.Path("none\\mppdec.exe");
            break;
        case Breakage::EncoderMissing:
            settings.m_lamePath = folder.Path("none\\lame.exe");
            break;
        case Breakage::NoOutputFolder:
            settings.m_outputDir = folder.Path("none");
            break;
        }
        MemoryFileQueue queue;
        queue.Append(folder.MakeInput("one.mpc").c_str());
        queue.Append(folder.MakeInput("two.mpc").c_str());

        RunConversionQueue(settings, queue);

        CHECK(queue.Entries().empty());
        CHECK(!FileExists(folder.WidePath("bramkot.bat")));
        CHECK_EQ(static_cast<long long>(folder.Records("decoder").size()), c.decoderRuns);
        CHECK_EQ(static_cast<long long>(folder.Records("encoder").size()), c.encoderRuns);
        if (c.breakage != Breakage::DecoderFails && c.breakage != Breakage::DecoderMissing)
            CHECK(!FileExists(folder.WidePath("one.mp3")) &&
                  !FileExists(folder.WidePath("two.mp3")));
    }
}
