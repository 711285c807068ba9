#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "conversion_run.h"
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
        m_settings = {here + "/dec.sh", here + "/enc.sh", "--gain 2", "-b 128", ""};
    }

    static void WriteTool(const std::string& name, const std::string& body) {
        WriteFile(name, "#!/bin/sh\n" + body);
        chmod(name.c_str(), 0755);
    }

    std::string Path(const std::string& name) const { return (m_directory / name).string(); }

    ConversionSettings m_settings;
    MemoryFileQueue m_queue;
};

TEST_F(ConversionRun, ConvertsInListOrderAndEmptiesTheList) {
    for (const char* name : {"b.mpc", "a.mpp", "b.mpc"})
        m_queue.Append(Path(name).c_str());
    RunConversionQueue(m_settings, m_queue);

    EXPECT_TRUE(m_queue.Entries().empty());
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
    const std::string expected =
        "dec --gain 2 " + Path("b.mpc") + " -\nenc -b 128 - " + Path("b.mp3") + "\nbramkot.bat\n" +
        "dec --gain 2 " + Path("a.mpp") + " -\nenc -b 128 - " + Path("a.mp3") + "\nbramkot.bat\n" +
        "dec --gain 2 " + Path("b.mpc") + " -\nenc -b 128 - " + Path("b.mp3") + "\nbramkot.bat\n";
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

TEST_F(ConversionRun, FailingOrMissingToolsStillRemoveTheirEntries) {
    WriteFile("fail", "");
    m_queue.Append(Path("a.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_TRUE(m_queue.Entries().empty());
    EXPECT_EQ("", ReadFile("a.mp3"));

    m_settings.m_mppdecPath = Path("no such decoder");
    m_settings.m_lamePath = Path("no such encoder");
    m_queue.Append(Path("b.mpc").c_str());
    m_queue.Append(Path("c.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_TRUE(m_queue.Entries().empty());
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
}

}  // namespace
