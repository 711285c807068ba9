// The run works through the list first entry first and empties it; a file
// listed twice is converted once.
#include <windows.h>

#include <algorithm>

#include "case_folder.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"

TEST_CASE(ConvertsEntriesInListOrder,
          "entries are converted first to last, a duplicate once, and the list ends empty") {
    CaseFolder folder("order");
    folder.MakeFolder("music");
    const std::vector<std::string> inputs = {
        folder.MakeInput("music\\b.mpc"), folder.MakeInput("music\\a.MPC"),
        folder.Path("music\\b.mpc"), folder.MakeInput("music\\c.mp+")};
    const std::vector<std::string> run = {inputs[0], inputs[1], inputs[3]};
    const std::vector<std::string> outputs = {
        folder.Path("music\\b.mp3"), folder.Path("music\\a.MP3"), folder.Path("music\\c.mp3")};
    MemoryFileQueue queue;
    for (const std::string& input : inputs)
        queue.Append(input.c_str());

    RunConversionQueue(FakeToolSettings("--gain 2", "--alt-preset 128", ""), queue);

    CHECK(queue.Entries().empty());
    CHECK(!FileExists(folder.WidePath("bramkot.bat")));
    const std::vector<ToolRecord> decoders = folder.Records("decoder");
    const std::vector<ToolRecord> encoders = folder.Records("encoder");
    CHECK_EQ(static_cast<long long>(decoders.size()), 3LL);
    CHECK_EQ(static_cast<long long>(encoders.size()), 3LL);
    for (std::size_t i = 0; i < run.size() && i < decoders.size() && i < encoders.size(); ++i) {
        CHECK_EQ(decoders[i].arguments, std::vector<std::string>({"--gain", "2", run[i], "-"}));
        CHECK_EQ(encoders[i].arguments, std::vector<std::string>({"--alt-preset", "128", "-",
                                                                  WorkFileBeside(outputs[i])}));
    }
    for (const std::string& output : outputs)
        CHECK(ReadFileBytes(AnsiToWide(output)) == FakeDecoderOutput());

    std::vector<std::string> expectedMusic = {"a.MP3", "a.MPC", "b.mp3", "b.mpc", "c.mp+", "c.mp3"};
    std::sort(expectedMusic.begin(), expectedMusic.end());
    CHECK_EQ(FolderNames(folder.WidePath("music")), expectedMusic);
    CHECK_EQ(FolderNames(AnsiToWide(folder.path())),
             std::vector<std::string>({"music", "tool log.txt"}));
}
