#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch_expansion.h"
#include "conversion_run.h"
#include "file_outcome.h"
#include "memory_file_queue.h"
#include "temp_directory.h"

// The pipeline line reads the same to the shell as to the command processor,
// so here the run drives small shell tools; the Windows tests under Wine do
// the same with the real command processor.
namespace {

class ConversionRun : public InTempDirectory {
protected:
    void SetUp() override {
        InTempDirectory::SetUp();
        const std::string here = m_directory.string();
        // clang-format off
        WriteTool("dec.sh", "echo \"dec $*\" >> \"" + here + "/tools.log\"\n"
                            "[ -f \"" + here + "/fail\" ] && exit 3\n"
                            "printf 'audio of %s' \"$3\"\n");
        // The encoder logs once its input has ended, that is after the decoder.
        WriteTool("enc.sh", "cat > \"$4\"\n"
                            "echo \"enc $*\" >> \"" + here + "/tools.log\"\n"
                            "ls bramkot.bat >> \"" + here + "/tools.log\"\n");
        // clang-format on
        m_settings = {here + "/dec.sh", here + "/enc.sh", "--gain 2", "-b 128", "", "1"};
    }

    static void WriteTool(const std::string& name, const std::string& body) {
        WriteFile(name, "#!/bin/sh\n" + body);
        chmod(name.c_str(), 0755);
    }

    std::string Path(const std::string& name) const { return (m_directory / name).string(); }

    ConversionSettings m_settings;
    MemoryFileQueue m_queue;
};

// A file listed twice is converted once: its second entry finds the MP3
// that this run made from the same input.
TEST_F(ConversionRun, ConvertsInListOrderADuplicateOnceAndEmptiesTheList) {
    for (const char* name : {"b.mpc", "a.mpp", "b.mpc"})
        m_queue.Append(Path(name).c_str());
    RunConversionQueue(m_settings, m_queue);

    EXPECT_TRUE(m_queue.Entries().empty());
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
    const std::string expected =
        "dec --gain 2 " + Path("b.mpc") + " -\nenc -b 128 - " + Path("b.mp3") + "\nbramkot.bat\n" +
        "dec --gain 2 " + Path("a.mpp") + " -\nenc -b 128 - " + Path("a.mp3") + "\nbramkot.bat\n";
    EXPECT_EQ(expected, ReadFile("tools.log"));
    EXPECT_EQ("audio of " + Path("a.mpp"), ReadFile("a.mp3"));
    EXPECT_EQ("audio of " + Path("b.mpc"), ReadFile("b.mp3"));
}

// Backslash is no separator here, so the output lands in a file whose name
// shows the directory part.
TEST_F(ConversionRun, OutputDirectoryShapesTheOutputName) {
    m_settings.m_outputDir = "out";
    m_queue.Append("in\\song.mpc");
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ("audio of in\\song.mpc", ReadFile("out\\song.mp3"));
}

TEST_F(ConversionRun, EmptyListRunsNothing) {
    RunConversionQueue(m_settings, m_queue);
    EXPECT_FALSE(std::filesystem::exists("tools.log"));
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
}

TEST_F(ConversionRun, UnwritableBatchFileLeavesTheListAndRunsNothing) {
    std::filesystem::create_directory("bramkot.bat");
    m_queue.Append(Path("a.mpc").c_str());
    m_queue.Append(Path("b.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ((std::vector<std::string>{Path("a.mpc"), Path("b.mpc")}), m_queue.Entries());
    EXPECT_FALSE(std::filesystem::exists("tools.log"));
}

// The encoder still makes an empty MP3 when the decoder fails: the run takes
// that away again and keeps the entry, as it does when no tool is there.
TEST_F(ConversionRun, FailingOrMissingToolsKeepTheirEntriesAndLeaveNoMp3) {
    WriteFile("fail", "");
    m_queue.Append(Path("a.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ((std::vector<std::string>{Path("a.mpc")}), m_queue.Entries());
    EXPECT_FALSE(std::filesystem::exists("a.mp3"));

    m_settings.m_mppdecPath = Path("no such decoder");
    m_settings.m_lamePath = Path("no such encoder");
    m_queue.Append(Path("b.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ((std::vector<std::string>{Path("a.mpc"), Path("b.mpc")}), m_queue.Entries());
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
}

struct PipelineRow {
    const char* what;
    FileState before;
    FileState after;
    int status;
    bool converted;
    bool wrote;
};

TEST(ConversionOutcome, AFileCountsAsConvertedOnlyWhenThisPipelineWroteIt) {
    const FileState none;
    const FileState old = {true, 4000, 100};
    const PipelineRow rows[] = {
        {"new MP3, status 0", none, {true, 4000, 200}, 0, true, true},
        {"old MP3 replaced", old, {true, 4100, 200}, 0, true, true},
        {"old MP3 rewritten to the same size", old, {true, 4000, 200}, 0, true, true},
        {"encoder failed after writing", none, {true, 4000, 200}, 1, false, true},
        {"tool not found", none, none, 9009, false, false},
        {"empty MP3", none, {true, 0, 200}, 0, false, true},
        {"old MP3 the tools could not replace", old, old, 0, false, false},
        {"old MP3 left, tools failed", old, old, 4, false, false},
        {"old MP3 gone", old, none, 0, false, false},
    };
    for (const PipelineRow& row : rows) {
        EXPECT_EQ(row.converted, PipelineConverted(row.before, row.after, row.status)) << row.what;
        EXPECT_EQ(row.wrote, WroteFile(row.before, row.after)) << row.what;
    }

    RunOutputs outputs;
    EXPECT_EQ(RunOutputs::Claim::Free, outputs.Check("E:\\MP3\\A.MP3", "D:\\X\\A.MPC"));
    outputs.Add("E:\\MP3\\A.MP3", "D:\\X\\A.MPC");
    EXPECT_EQ(RunOutputs::Claim::SameInput, outputs.Check("E:\\MP3\\A.MP3", "D:\\X\\A.MPC"));
    EXPECT_EQ(RunOutputs::Claim::OtherInput, outputs.Check("E:\\MP3\\A.MP3", "D:\\Y\\A.MPC"));
    EXPECT_EQ(RunOutputs::Claim::Free, outputs.Check("E:\\MP3\\B.MP3", "D:\\X\\B.MPC"));
}

class MapVariables : public BatchVariables {
public:
    bool Lookup(const std::string& name, std::string& value) const override {
        if (name == "HOME" || name == "home")
            value = "C:\\Users\\Ann";
        else if (name == "PCT")
            value = "50%USERNAME%";
        else
            return false;
        return true;
    }
};

// What the command processor makes of "%" in a batch file line, which decides
// where the MP3 file of a line lands.
TEST(BatchExpansion, PercentFormsAsTheCommandProcessorReadsThem) {
    const BatchFile batch = {"bramkot.bat", "D:\\Work dir\\bramkot.bat"};
    const struct {
        const char* text;
        const char* expanded;
    } rows[] = {
        {"%HOME%\\Music", "C:\\Users\\Ann\\Music"},
        {"%home%\\%UNSET%x", "C:\\Users\\Ann\\x"},
        {"100%%\\a%%b", "100%\\a%b"},
        {"%PCT%\\", "50%USERNAME%\\"},
        {"50% and 20% more", "50 more"},
        {"E:\\50%", "E:\\50"},
        {"%0 %1 %9 %* end", "bramkot.bat    end"},
        {"%~dp0mp3\\%~n0 %~x0 %~0 %~f0",
         "D:\\Work dir\\mp3\\bramkot .bat bramkot.bat D:\\Work dir\\bramkot.bat"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expanded, ExpandAsBatchFileLine(row.text, batch, MapVariables())) << row.text;
}

}  // namespace
