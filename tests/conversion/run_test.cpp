#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ansi_text.h"
#include "batch_expansion.h"
#include "conversion_run.h"
#include "decoder_refusal.h"
#include "file_verdict.h"
#include "memory_file_queue.h"
#include "pipeline.h"
#include "run_progress.h"
#include "temp_directory.h"
#include "tool_check.h"

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
        m_settings = {
            Ansi(here + "/dec.sh"), Ansi(here + "/enc.sh"), "--gain 2", "-b 128", "", "1"};
    }

    static void WriteTool(const std::string& name, const std::string& body) {
        WriteFile(name, "#!/bin/sh\n" + body);
        chmod(name.c_str(), 0755);
    }

    std::string Path(const std::string& name) const { return (m_directory / name).string(); }
    // A Musepack file for the queue (its bytes need not be one).
    std::string Input(const std::string& name) const {
        WriteFile(name, "musepack");
        return Path(name);
    }

    ConversionSettings m_settings;
    MemoryFileQueue m_queue;
};

// A file listed twice is converted once: its second entry finds the MP3
// that this run made from the same input.
TEST_F(ConversionRun, ConvertsInListOrderADuplicateOnceAndEmptiesTheList) {
    for (const char* name : {"b.mpc", "a.mpp", "b.mpc"})
        m_queue.Append(Input(name).c_str());
    RunConversionQueue(m_settings, m_queue);

    EXPECT_TRUE(m_queue.Entries().empty());
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
    // The encoder writes a work file, which then takes the MP3's name.
    const std::string work = Path("~bramkot 1.mp3");
    const std::string expected = "dec --gain 2 " + Path("b.mpc") + " -\nenc -b 128 - " + work +
                                 "\nbramkot.bat\n" + "dec --gain 2 " + Path("a.mpp") +
                                 " -\nenc -b 128 - " + work + "\nbramkot.bat\n";
    EXPECT_EQ(expected, ReadFile("tools.log"));
    EXPECT_EQ("audio of " + Path("a.mpp"), ReadFile("a.mp3"));
    EXPECT_EQ("audio of " + Path("b.mpc"), ReadFile("b.mp3"));
}

// Backslash is no separator here, so the output lands in a file whose name
// shows the directory part.
TEST_F(ConversionRun, OutputDirectoryShapesTheOutputName) {
    m_settings.m_outputDir = "out";
    m_queue.Append("in\\song.mpc");
    Input("in\\song.mpc");
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ("audio of in\\song.mpc", ReadFile("out\\song.mp3"));
}

TEST_F(ConversionRun, EmptyListRunsNothing) {
    RunConversionQueue(m_settings, m_queue);
    EXPECT_FALSE(std::filesystem::exists("tools.log"));
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
}

// The encoder still makes an empty MP3 when the decoder fails: the run takes
// that away again and keeps the entry, as it does when no tool is there and
// when the batch file cannot be written, which runs nothing.
TEST_F(ConversionRun, FailingOrMissingToolsOrNoBatchFileKeepTheEntriesAndLeaveNoMp3) {
    const ConversionSettings working = m_settings;
    WriteFile("fail", "");
    m_queue.Append(Input("a.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ((std::vector<std::string>{Path("a.mpc")}), m_queue.Entries());
    EXPECT_FALSE(std::filesystem::exists("a.mp3"));
    EXPECT_FALSE(std::filesystem::exists("~bramkot 1.mp3"));

    m_settings.m_mppdecPath = Ansi(Path("no such decoder"));
    m_settings.m_lamePath = Ansi(Path("no such encoder"));
    m_queue.Append(Input("b.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ((std::vector<std::string>{Path("a.mpc"), Path("b.mpc")}), m_queue.Entries());
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));

    std::filesystem::remove("fail");
    std::filesystem::remove("tools.log");
    std::filesystem::create_directory("bramkot.bat");
    RunConversionQueue(working, m_queue);
    EXPECT_EQ((std::vector<std::string>{Path("a.mpc"), Path("b.mpc")}), m_queue.Entries());
    EXPECT_FALSE(std::filesystem::exists("tools.log"));
}

// A Musepack file that is gone or empty when its turn comes runs no tool.
TEST_F(ConversionRun, AGoneOrEmptyInputSaysSoAndRunsNothing) {
    WriteFile("empty.mpc", "");
    m_queue.Append(Path("gone.mpc").c_str());
    m_queue.Append(Path("empty.mpc").c_str());
    std::vector<std::string> reasons;
    class Reasons : public RunEvents {
    public:
        explicit Reasons(std::vector<std::string>& reasons) : m_reasons(reasons) {}
        void EntryKept(int, const FailureReport& report) override {
            m_reasons.push_back(report.reason + "|" + report.batchLine);
        }
        std::vector<std::string>& m_reasons;
    } events(reasons);
    RunConversionQueue(m_settings, m_queue, &events);
    EXPECT_EQ((std::vector<std::string>{"the file is no longer there|", "the file is empty|"}),
              reasons);
    EXPECT_FALSE(std::filesystem::exists("tools.log"));
}

struct PipelineRow {
    const char* what;
    FileState before;
    FileState after;
    int status;
    bool converted;
    bool wrote;
};

// An MP3 the user had is never touched until its replacement is whole: it
// stays, byte for byte, when the file fails. A work file a killed run left
// goes, and a moved-aside MP3 an older version left is back before anything
// else.
TEST_F(ConversionRun, TheUsersMp3SurvivesAFailureAndAKilledRun) {
    WriteFile("a.mp3", "the user's MP3");
    WriteFile("fail", "");
    m_queue.Append(Input("a.mpc").c_str());
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ(1u, m_queue.Entries().size());
    EXPECT_EQ("the user's MP3", ReadFile("a.mp3"));
    EXPECT_FALSE(std::filesystem::exists("~bramkot 1.mp3"));

    // As an older version killed mid-file left it: its half-made MP3 and the
    // old one aside; and as this one leaves it.
    std::filesystem::rename("a.mp3", "a.mp3.bramkot-old");
    WriteFile("a.mp3", "half an MP3");
    WriteFile("~bramkot 7.mp3", "half an MP3");
    WriteFile("~bramkot 7.mp3.bramkot-tags", "half a tagged MP3");
    WriteFile("~bramkot notes.mp3", "the user's own");
    RunConversionQueue(m_settings, m_queue);
    EXPECT_EQ("the user's MP3", ReadFile("a.mp3"));
    EXPECT_FALSE(std::filesystem::exists("a.mp3.bramkot-old"));
    EXPECT_FALSE(std::filesystem::exists("~bramkot 7.mp3"));
    EXPECT_FALSE(std::filesystem::exists("~bramkot 7.mp3.bramkot-tags"));
    EXPECT_EQ("the user's own", ReadFile("~bramkot notes.mp3"));

    std::filesystem::remove("fail");
    RunConversionQueue(m_settings, m_queue);
    EXPECT_TRUE(m_queue.Entries().empty());
    EXPECT_EQ("audio of " + Path("a.mpc"), ReadFile("a.mp3"));
    EXPECT_FALSE(std::filesystem::exists("~bramkot 1.mp3"));
}

// Pipelines that end when the test says, as the runner reports them.
class ScriptedRunner : public PipelineRunner {
public:
    void Start(int slot, const PipelineJob& job) override { m_started.push_back({slot, job}); }
    bool TakeEnded(int& slot, PipelineResult& result) override {
        if (m_ended.empty())
            return false;
        slot = m_ended.front().first;
        result = m_ended.front().second;
        m_ended.erase(m_ended.begin());
        return true;
    }
    void WaitForEnd() override {}
    void EndNow(int slot) override {
        PipelineResult result;
        result.end = PipelineEnd::EndedByUser;
        m_ended.push_back({slot, result});
    }

    // The pipeline that started `nth` ends; with `wrote`, its encoder wrote
    // the file it was given.
    void End(std::size_t nth, int status, bool wrote, const std::string& output) {
        if (wrote)
            std::ofstream(m_started.at(nth).second.outputFile, std::ios::binary) << "an MP3";
        PipelineResult result;
        result.end = PipelineEnd::Ran;
        result.status = status;
        result.output = Ansi(output);
        m_ended.push_back({m_started.at(nth).first, result});
    }

    std::vector<std::pair<int, PipelineJob>> m_started;

private:
    std::vector<std::pair<int, PipelineResult>> m_ended;
};

class RecordedEvents : public RunEvents {
public:
    void EntryKept(int index, const FailureReport& report) override {
        m_kept.push_back(std::to_string(index) + " " + report.reason);
    }
    std::vector<std::string> m_kept;
};

// The run as the window drives it: files start in list order, one ends, the
// next starts; a drop joins the run; a failed file says why; after "Stop"
// the file in work finishes and nothing else starts.
TEST_F(ConversionRun, AsTheWindowDrivesIt) {
    ScriptedRunner runner;
    RecordedEvents events;
    for (const char* name : {"a.mpc", "b.mpc", "c.mpc"})
        m_queue.Append(Input(name).c_str());
    ::ConversionRun run(m_settings, m_queue, runner, &events);
    run.StartFiles();
    ASSERT_EQ(1u, runner.m_started.size());
    EXPECT_EQ("bramkot.bat", runner.m_started[0].second.batchFileName);
    m_queue.Append(Input("d.mpc").c_str());
    EXPECT_EQ(4, run.Total());

    runner.End(0, 0, true, "");
    run.Collect();
    EXPECT_EQ(1, run.Finished());
    EXPECT_EQ((std::vector<std::string>{Path("b.mpc"), Path("c.mpc"), Path("d.mpc")}),
              m_queue.Entries());
    ASSERT_EQ(2u, runner.m_started.size());
    ASSERT_EQ(1u, run.FilesInWork().size());
    EXPECT_EQ(Path("b.mpc"), run.FilesInWork()[0].path);

    runner.End(1, 1, true, "Encoding...\r\nCan't init infile '-'\r\n\r\n");
    run.Collect();
    EXPECT_EQ((std::vector<std::string>{"0 the tools ended with status 1: Can't init infile '-'"}),
              events.m_kept);
    EXPECT_FALSE(std::filesystem::exists("b.mp3"));

    run.Stop();
    runner.End(2, 0, true, "");
    run.Collect();
    EXPECT_TRUE(run.Over());
    EXPECT_EQ(3u, runner.m_started.size());
    EXPECT_EQ((std::vector<std::string>{Path("b.mpc"), Path("d.mpc")}), m_queue.Entries());
    EXPECT_EQ(2, run.Converted());
    EXPECT_EQ(4, run.Total());
}

// Two at once: each in a batch file of its own; an MP3 name is claimed when
// its file starts, in list order, so of two files of one name the first
// converts, and a file listed twice shares its first entry's end. "End Now"
// ends every file in work; they stay listed.
TEST_F(ConversionRun, SeveralAtOnceClaimTheirMp3sInListOrder) {
    m_settings.m_filesAtOnce = "2";
    m_settings.m_outputDir = "out";
    ScriptedRunner runner;
    RecordedEvents events;
    for (const char* name : {"x\\a.mpc", "y\\a.mpc", "x\\a.mpc", "b.mpc", "c.mpc"})
        m_queue.Append(name);
    for (const char* name : {"x\\a.mpc", "y\\a.mpc", "b.mpc", "c.mpc"})
        Input(name);
    ::ConversionRun run(m_settings, m_queue, runner, &events);
    run.StartFiles();
    // y\a.mpc names the MP3 x\a.mpc claimed; x\a.mpc again waits for its first entry.
    ASSERT_EQ(2u, runner.m_started.size());
    EXPECT_EQ("bramkot.bat", runner.m_started[0].second.batchFileName);
    EXPECT_EQ("bramkot2.bat", runner.m_started[1].second.batchFileName);
    EXPECT_EQ((std::vector<std::string>{"1 another file of this run already makes out\\a.mp3"}),
              events.m_kept);

    runner.End(1, 0, true, "");  // b.mpc, in slot 1, ends first
    run.Collect();
    runner.End(0, 0, true, "");
    run.Collect();
    EXPECT_EQ((std::vector<std::string>{"y\\a.mpc", "c.mpc"}), m_queue.Entries());
    ASSERT_EQ(3u, runner.m_started.size());
    run.EndNow();
    run.Collect();
    EXPECT_TRUE(run.Over());
    EXPECT_EQ((std::vector<std::string>{"y\\a.mpc", "c.mpc"}), m_queue.Entries());
    EXPECT_EQ("1 ended by the user", events.m_kept.back());
    EXPECT_EQ(3, run.Converted());
}

// The runner the program ships, with the shell in the command processor's
// place: "End Now" ends a pipeline that is running (one not ended would
// finish with status 0 after its "sleep"), and its batch file goes.
TEST_F(ConversionRun, EndNowEndsTheRunningPipelineAndItsBatchFileGoes) {
    const std::unique_ptr<PipelineRunner> runner = MakeBatchFileRunner(nullptr);
    PipelineJob job;
    job.batchFileName = BatchFileNameOfSlot(0);
    job.batchLine = OemText("echo at work; : > started; sleep 30");
    runner->Start(0, job);
    for (int look = 0; look < 3000 && !std::filesystem::exists("started"); ++look)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists("started"));
    runner->EndNow(0);
    runner->WaitForEnd();
    int slot = -1;
    PipelineResult result;
    ASSERT_TRUE(runner->TakeEnded(slot, result));
    EXPECT_EQ(0, slot);
    EXPECT_EQ(PipelineEnd::EndedByUser, result.end);
    EXPECT_EQ("at work\n", Bytes(result.output));
    EXPECT_FALSE(std::filesystem::exists("bramkot.bat"));
}

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
        PipelineResult result;
        result.end = PipelineEnd::Ran;
        result.status = row.status;
        EXPECT_EQ(row.converted, PipelineVerdict(result, row.before, row.after, {}).empty())
            << row.what;
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
    bool Lookup(const AnsiText& name, AnsiText& value) const override {
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

// The decoder's refusal, as mpcdec r495 prints it for "--gain 2", comes first
// in a failed file's reason; the encoder's own complaints are not taken for
// the decoder's.
TEST(DecoderRefusal, TheDecodersUsageOrComplaintButNotTheEncoders) {
    ConversionSettings settings = {
        "C:\\Tools (x86)\\mpcdec.exe", "%LAME%\\lame.exe", "--gain 2", "--alt-preset 128", "", ""};
    const std::string mpcdec =
        "mpcdec - Musepack (MPC) decoder v1.0.0 (C) 2006-2009 MDT\r\n"
        "C:\\Tools (x86)\\mpcdec.exe: unknown option -- -\r\n"
        "C:\\Tools (x86)\\mpcdec.exe: unknown option -- g\r\n"
        "Usage: C:\\Tools (x86)\\mpcdec.exe [-i] [-h] <infile.mpc> [<outfile.wav>]\r\n"
        "-i : print file information on stdout\r\n";
    const std::string lame = "Warning: unsupported audio format\nCan't init infile '-'\n";
    EXPECT_EQ("the decoder did not accept its switches \"--gain 2\" (it printed its usage)",
              DecoderRefusal(settings, mpcdec + lame));
    EXPECT_EQ(
        "the decoder did not accept its switches \"--gain 2\" (it said: "
        "C:\\Tools (x86)\\mpcdec.exe: unknown option -- -)",
        DecoderRefusal(settings, mpcdec.substr(0, mpcdec.find("Usage"))));
    settings.m_lameSwitches = "--bogus";
    EXPECT_EQ("", DecoderRefusal(settings,
                                 "C:\\mpcdec and more\\lame.exe: unrecognized option --bogus\n"
                                 "usage: lame [options] <infile> [outfile]\n"));
    EXPECT_EQ("", DecoderRefusal(settings, lame));
}

// A folder tree and an environment for finding the tools, without a disk.
class FakePlaces : public ProgramPlaces {
public:
    FakePlaces(std::vector<std::string> files, std::vector<std::pair<std::string, std::string>> env)
        : m_files(std::move(files)), m_env(std::move(env)) {}
    AnsiText CurrentFolder() const override { return "D:\\Work"; }
    bool IsFile(const AnsiText& path) const override {
        for (const std::string& file : m_files)
            if (Lower(file) == Lower(Bytes(path)))
                return true;
        return false;
    }
    bool Lookup(const AnsiText& name, AnsiText& value) const override {
        for (const auto& variable : m_env)
            if (Lower(variable.first) == Lower(Bytes(name))) {
                value = Ansi(variable.second);
                return true;
            }
        return false;
    }

private:
    static std::string Lower(std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    std::vector<std::string> m_files;
    std::vector<std::pair<std::string, std::string>> m_env;
};

// "Convert Files" looks for the two tools where the command processor will.
TEST(ToolLookup, FindsTheProgramWhereTheCommandProcessorWould) {
    const FakePlaces places({"D:\\Work\\lame.exe", "C:\\Bin\\lame.exe", "C:\\Bin\\mpcdec.EXE",
                             "C:\\Bin\\tools\\enc.exe", "C:\\Program Files\\Musepack\\mpcdec.exe",
                             "C:\\Old Dir\\oldenc.cmd", "D:\\Work\\tools\\dec.exe"},
                            {{"Path", "C:\\Nowhere;\"C:\\Old Dir\";;C:\\Bin\\"},
                             {"PATHEXT", ".COM;.EXE;.CMD"},
                             {"TOOLS", "C:\\Program Files\\Musepack"}});
    const struct {
        const char* setting;
        bool found;
        const char* path;
        bool bareName;
    } rows[] = {
        {"C:\\mppdec\\mppdec.exe", false, "C:\\mppdec\\mppdec.exe", false},
        {"%TOOLS%\\mpcdec.exe", true, "C:\\Program Files\\Musepack\\mpcdec.exe", false},
        {"%tools%\\mpcdec", true, "C:\\Program Files\\Musepack\\mpcdec.EXE", false},
        {"\"%UNSET%lame.exe\"", true, "D:\\Work\\lame.exe", true},  // the current folder first
        {"mpcdec", true, "C:\\Bin\\mpcdec.EXE", true},
        {"oldenc", true, "C:\\Old Dir\\oldenc.CMD", true},
        {"enc.exe", false, "enc.exe", true},
        {"tools\\enc.exe", false, "tools\\enc.exe", false},  // a folder: not on PATH
        {"tools\\dec", true, "D:\\Work\\tools\\dec.EXE", false},
        {"", false, "", false},
    };
    for (const auto& row : rows) {
        const ProgramSearch search = FindProgram(row.setting, places);
        EXPECT_EQ(row.found, search.found) << row.setting;
        EXPECT_EQ(row.path, Bytes(search.path)) << row.setting;
        EXPECT_EQ(row.bareName, search.bareName) << row.setting;
    }
    // Without PATHEXT, the command processor's own extensions.
    const FakePlaces noExtensions({"C:\\Bin\\x.BAT"}, {{"PATH", "C:\\Bin"}});
    EXPECT_EQ("C:\\Bin\\x.BAT", Bytes(FindProgram("x", noExtensions).path));
}

// A scripted run, one file at a time, at 6 s of audio a second: files of 60,
// 120, unknown and 180 s end at 10, 30 and, the third slower than the rest,
// at 60 s. The file without a length counts as the average of the others.
TEST(RunProgress, AudioFinishedAndTheTimeLeftOfAScriptedRun) {
    RunProgress progress;
    for (const char* path : {"a.mpc", "b.mpc", "c.mpc", "d.mpc"})
        progress.Join(path);
    progress.LengthRead("a.mpc", 60);
    progress.LengthRead("b.mpc", 120);
    progress.LengthRead("c.mpc", 0);
    progress.LengthRead("d.mpc", 180);
    EXPECT_LT(progress.SecondsLeft(5, {"a.mpc"}), 0);  // no evidence yet

    progress.Finish("a.mpc", 10);
    EXPECT_DOUBLE_EQ(progress.Fraction(), 60.0 / 480);
    EXPECT_DOUBLE_EQ(progress.SecondsLeft(10, {"b.mpc"}), 70);
    for (int now = 11; now <= 20; ++now)
        progress.SecondsLeft(now, {"b.mpc"});
    EXPECT_NEAR(progress.SecondsLeft(20, {"b.mpc"}), 60, 1e-9);  // counted down
    progress.Finish("b.mpc", 30);
    EXPECT_NEAR(progress.SecondsLeft(30, {"c.mpc"}), 50, 1e-9);

    double shown = 0;
    for (int now = 31; now < 60; ++now)
        shown = progress.SecondsLeft(now, {"c.mpc"});
    progress.Finish("c.mpc", 60);
    EXPECT_DOUBLE_EQ(progress.Fraction(), 300.0 / 480);
    const double estimate = progress.EstimateSecondsLeft(60, {"d.mpc"});
    EXPECT_DOUBLE_EQ(estimate, 180 / 5.0);  // 300 s of audio in 60 s
    const double risen = progress.SecondsLeft(60, {"d.mpc"});
    EXPECT_GT(risen, shown - 1);
    EXPECT_LT(risen, estimate - 1);  // part of the way, not the whole jump
    for (int now = 61; now <= 75; ++now)
        shown = progress.SecondsLeft(now, {"d.mpc"});
    EXPECT_NEAR(shown, progress.EstimateSecondsLeft(75, {"d.mpc"}), 1);

    RunProgress slow;
    slow.Join("long.mpc");
    slow.Join("next.mpc");
    EXPECT_LT(slow.SecondsLeft(9, {"long.mpc"}), 0);
    EXPECT_GT(slow.SecondsLeft(10, {"long.mpc"}), 0);  // 10 s without an end
}

TEST(RunProgress, TimeLeftInWords) {
    EXPECT_EQ(TimeLeftText(0.3), "about 1 second left");
    EXPECT_EQ(TimeLeftText(44.6), "about 45 seconds left");
    EXPECT_EQ(TimeLeftText(150), "about 3 minutes left");
    EXPECT_EQ(TimeLeftText(3590), "about 1 hour left");
    EXPECT_EQ(TimeLeftText(7290), "about 2 hours 2 minutes left");
}

}  // namespace
