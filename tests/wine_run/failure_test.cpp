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

enum class Breakage {
    DecoderFails,
    EncoderFails,
    DecoderMissing,
    EncoderMissing,
    NoOutputFolder,
    NameOutsideAnsi,
};

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
        {"names outside the ANSI code page", Breakage::NameOutsideAnsi, 2, 2},
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
        case Breakage::NameOutsideAnsi:
            break;
        }
        MemoryFileQueue queue;
        std::vector<std::string> questioned;
        if (c.breakage == Breakage::NameOutsideAnsi) {
            // A drop spells a character the ANSI code page lacks as "?": such a
            // name opens nothing, and no file it would match as a pattern is
            // converted, neither by a line the console code page spells nor
            // by one it cannot (U+2019).
            folder.MakeInput("one.mpc");
            folder.MakeInput(WideToAnsi(L"tw\u2019o.mpc"));
            questioned = {folder.Path("o?e.mpc"), folder.Path(WideToAnsi(L"tw\u2019?.mpc"))};
            for (const std::string& name : questioned)
                queue.Append(name.c_str());
        } else {
            queue.Append(folder.MakeInput("one.mpc").c_str());
            queue.Append(folder.MakeInput("two.mpc").c_str());
        }

        RunConversionQueue(settings, queue);

        CHECK(queue.Entries().empty());
        CHECK(!FileExists(folder.WidePath("bramkot.bat")));
        CHECK_EQ(static_cast<long long>(folder.Records("decoder").size()), c.decoderRuns);
        CHECK_EQ(static_cast<long long>(folder.Records("encoder").size()), c.encoderRuns);
        if (c.breakage != Breakage::DecoderFails && c.breakage != Breakage::DecoderMissing)
            CHECK(!FileExists(folder.WidePath("one.mp3")) &&
                  !FileExists(folder.WidePath("two.mp3")));
        if (c.breakage != Breakage::NameOutsideAnsi)
            continue;
        const std::vector<ToolRecord> decoders = folder.Records("decoder");
        const std::vector<ToolRecord> encoders = folder.Records("encoder");
        for (std::size_t i = 0; i < questioned.size(); ++i) {
            const std::string mp3 = questioned[i].substr(0, questioned[i].size() - 1) + "3";
            if (i < decoders.size())
                CHECK_EQ(decoders[i].arguments,
                         std::vector<std::string>({AnsiToUtf8(questioned[i]), "-"}));
            if (i < encoders.size())
                CHECK_EQ(encoders[i].arguments, std::vector<std::string>({"-", AnsiToUtf8(mp3)}));
        }
        CHECK_EQ(FolderNames(AnsiToWide(folder.path())),
                 std::vector<std::string>({"one.mpc", "tool log.txt", "tw\xE2\x80\x99o.mpc"}));
    }
}
