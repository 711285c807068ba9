// What the run does when things go wrong: it stops with the list whole when
// the batch file cannot be written; otherwise a file that did not convert
// stays listed, in its place, and leaves no MP3 of this run behind.
#include <windows.h>

#include <cstdio>

#include "ansi_text.h"
#include "case_folder.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "handle.h"
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
    OutputFolderUnmakable,
};

struct FailureCase {
    const char* name;
    Breakage breakage;
    long long decoderRuns;
    long long encoderRuns;
};

}  // namespace

TEST_CASE(FailingToolsKeepEveryEntry,
          "a failing or missing tool keeps every entry listed and leaves no MP3") {
    const FailureCase cases[] = {
        {"decoder fails", Breakage::DecoderFails, 2, 2},
        {"encoder fails", Breakage::EncoderFails, 2, 2},
        {"decoder missing", Breakage::DecoderMissing, 0, 2},
        {"encoder missing", Breakage::EncoderMissing, 2, 0},
        {"output folder cannot be made", Breakage::OutputFolderUnmakable, 0, 0},
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
            settings.m_mppdecPath = Ansi(folder.Path("none\\mppdec.exe"));
            break;
        case Breakage::EncoderMissing:
            settings.m_lamePath = Ansi(folder.Path("none\\lame.exe"));
            break;
        case Breakage::OutputFolderUnmakable:
            WriteFileBytes(folder.WidePath("a file"), "not a folder");
            settings.m_outputDir = Ansi(folder.Path("a file\\mp3"));
            break;
        }
        const std::vector<std::string> inputs = {folder.MakeInput("one.mpc"),
                                                 folder.MakeInput("two.mpc")};
        MemoryFileQueue queue;
        for (const std::string& input : inputs)
            queue.Append(input.c_str());

        RunConversionQueue(settings, queue);

        CHECK_EQ(queue.Entries(), inputs);
        CHECK(!FileExists(folder.WidePath("bramkot.bat")));
        CHECK_EQ(static_cast<long long>(folder.Records("decoder").size()), c.decoderRuns);
        CHECK_EQ(static_cast<long long>(folder.Records("encoder").size()), c.encoderRuns);
        CHECK(!FileExists(folder.WidePath("one.mp3")) && !FileExists(folder.WidePath("two.mp3")));
    }
}

// A damaged input and one deleted after the drop fail; the good file between
// them converts and leaves the list.
TEST_CASE(BadFilesStayListedBesideGoodOnes, "a bad file beside a good one: only the bad stays") {
    CaseFolder folder("bad beside good");
    const std::string bad = folder.Path("bad.mpc");
    WriteFileBytes(AnsiToWide(bad), std::string(kCorruptInput) + " beyond repair");
    const std::string good = folder.MakeInput("good.mpc");
    const std::string gone = folder.MakeInput("gone.mpc");
    DeleteFileA(gone.c_str());
    MemoryFileQueue queue;
    for (const std::string& input : {bad, good, gone})
        queue.Append(input.c_str());

    RunConversionQueue(FakeToolSettings("", "", ""), queue);

    CHECK_EQ(queue.Entries(), std::vector<std::string>({bad, gone}));
    CHECK(ReadFileBytes(folder.WidePath("good.mp3")) == FakeDecoderOutput());
    CHECK_EQ(FolderNames(AnsiToWide(folder.path())),
             std::vector<std::string>({"bad.mpc", "good.mp3", "good.mpc", "tool log.txt"}));
}

// Same-named files from two folders into one output folder: the first makes
// the MP3, the second is not run and stays listed; the first listed again is
// done already. The folder, two levels deep and named through a variable as
// the command processor expands it, is made before the first file.
TEST_CASE(NoFileOverwritesAnothersMp3,
          "same names into one made output folder: the first's MP3 stays, the second is listed") {
    CaseFolder folder("same names");
    const std::string first = folder.MakeInput(
        folder.MakeFolder("a").substr(folder.path().size() + 1) + "\\01 Intro.mpc");
    const std::string second = folder.MakeInput(
        folder.MakeFolder("b").substr(folder.path().size() + 1) + "\\01 INTRO.mpc");
    SetEnvironmentVariableA("BRAMKOT_TEST_MUSIC", folder.path().c_str());
    MemoryFileQueue queue;
    for (const std::string& input : {first, second, first})
        queue.Append(input.c_str());

    RunConversionQueue(FakeToolSettings("", "", "%BRAMKOT_TEST_MUSIC%\\mp3 (new)\\100%%\\"), queue);
    SetEnvironmentVariableA("BRAMKOT_TEST_MUSIC", nullptr);

    CHECK_EQ(queue.Entries(), std::vector<std::string>({second}));
    const std::vector<ToolRecord> decoders = folder.Records("decoder");
    CHECK(decoders.size() == 1 && decoders[0].arguments.front() == first);
    CHECK(ReadFileBytes(folder.WidePath("mp3 (new)\\100%\\01 Intro.mp3")) == FakeDecoderOutput());
    CHECK_EQ(FolderNames(folder.WidePath("mp3 (new)\\100%")),
             std::vector<std::string>({"01 Intro.mp3"}));
}

// An MP3 of an earlier run that cannot be replaced (a player holds it open)
// stays as it was, and so does its entry. One that can is replaced, a
// read-only one (copied from a CD) too.
TEST_CASE(OldMp3TheToolsCannotReplace, "an old MP3 the tools could not replace stays intact") {
    CaseFolder folder("old mp3");
    const std::string held = folder.MakeInput("held.mpc");
    const std::string free = folder.MakeInput("free.mpc");
    const std::string readOnly = folder.MakeInput("read-only.mpc");
    WriteFileBytes(folder.WidePath("held.mp3"), "old MP3");
    WriteFileBytes(folder.WidePath("free.mp3"), "old MP3");
    WriteFileBytes(folder.WidePath("read-only.mp3"), "old MP3");
    CHECK(SetFileAttributesW(folder.WidePath("read-only.mp3").c_str(), FILE_ATTRIBUTE_READONLY));
    Handle player(CreateFileW(folder.WidePath("held.mp3").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr));
    CHECK(static_cast<bool>(player));
    MemoryFileQueue queue;
    queue.Append(held.c_str());
    queue.Append(free.c_str());
    queue.Append(readOnly.c_str());

    RunConversionQueue(FakeToolSettings("", "", ""), queue);
    player.Reset();

    CHECK_EQ(queue.Entries(), std::vector<std::string>({held}));
    CHECK(ReadFileBytes(folder.WidePath("held.mp3")) == "old MP3");
    CHECK(ReadFileBytes(folder.WidePath("free.mp3")) == FakeDecoderOutput());
    CHECK(ReadFileBytes(folder.WidePath("read-only.mp3")) == FakeDecoderOutput());
    std::vector<std::string> names = {"free.mp3",      "free.mpc",      "held.mp3",    "held.mpc",
                                      "read-only.mp3", "read-only.mpc", "tool log.txt"};
    CHECK_EQ(FolderNames(AnsiToWide(folder.path())), names);
}

namespace {

std::string LittleEndian32(std::size_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(value >> 8 * i & 0xFF);
    return bytes;
}

// A Musepack stream version 7 header: 1000 frames at 44.1 kHz, 26 s.
std::string MusepackHeader() {
    return "MP+\x17" + LittleEndian32(1000) + LittleEndian32(0) + std::string(8, '\0') +
           LittleEndian32(1u << 31 | 300 << 20) + std::string(8, '\0');
}

// MPEG 1 layer III frames, 128 kbit/s at 44.1 kHz, 26 ms each.
std::string Mp3Frames(int count) {
    std::string frames;
    for (int i = 0; i < count; ++i)
        frames += "\xFF\xFB\x90" + std::string(414, '\0');
    return frames;
}

// An APEv2 tag of one item, without a header, as it ends a Musepack file.
std::string ApeTagWithTitle(const std::string& title) {
    const std::string item =
        LittleEndian32(title.size()) + LittleEndian32(0) + "Title" + '\0' + title;
    return item + "APETAGEX" + LittleEndian32(2000) + LittleEndian32(item.size() + 32) +
           LittleEndian32(1) + LittleEndian32(0) + std::string(8, '\0');
}

}  // namespace

// Whatever fails, the MP3 the user had is there afterwards, byte for byte,
// and nothing of the failed file is left: not with a damaged input, not with
// a failing encoder, not when the tagged copy cannot be written (a full disk),
// not when the encoder exits 0 with half an MP3 or with no MP3 at all.
TEST_CASE(OldMp3SurvivesEveryFailure, "a failed file leaves the user's MP3 as it was") {
    const char* const cases[] = {"damaged input", "encoder fails", "tagged copy cannot be written",
                                 "half an MP3", "text for an MP3"};
    for (const char* name : cases) {
        std::printf("  %s\n", name);
        CaseFolder folder("old mp3 survives");
        const std::string input = folder.Path("song.mpc");
        std::vector<std::string> left = {"song.mp3", "song.mpc", "tool log.txt"};
        if (name == cases[0]) {
            WriteFileBytes(AnsiToWide(input), kCorruptInput);
        } else if (name == cases[3] || name == cases[4]) {
            WriteFileBytes(AnsiToWide(input), MusepackHeader() + "audio");
            WriteFileBytes(folder.WidePath("made.bin"),
                           name == cases[3] ? Mp3Frames(500) : "a few words, no MP3");
            SetToolVariable("BRAMKOT_ENCODER_WRITES", folder.Path("made.bin").c_str());
            left.insert(left.begin(), "made.bin");
        } else {
            WriteFileBytes(AnsiToWide(input), "input" + ApeTagWithTitle("A Title"));
            if (name == cases[1]) {
                SetToolVariable("BRAMKOT_FAIL_ENCODER", "1");
            } else {
                CreateDirectoryW(folder.WidePath("~bramkot 1.mp3.bramkot-tags").c_str(), nullptr);
                left.push_back("~bramkot 1.mp3.bramkot-tags");
            }
        }
        WriteFileBytes(folder.WidePath("song.mp3"), "the user's MP3");
        MemoryFileQueue queue;
        queue.Append(input.c_str());

        RunConversionQueue(FakeToolSettings("", "", ""), queue);

        CHECK_EQ(queue.Entries(), std::vector<std::string>({input}));
        CHECK(ReadFileBytes(folder.WidePath("song.mp3")) == "the user's MP3");
        CHECK_EQ(FolderNames(AnsiToWide(folder.path())), left);
    }
}
