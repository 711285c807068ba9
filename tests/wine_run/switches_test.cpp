// The switch settings go into the line as typed: the tools see them split as
// any command line is, and an empty setting adds no argument.
#include <windows.h>

#include "case_folder.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"

namespace {

struct SwitchCase {
    const char* decoderSwitches;
    const char* encoderSwitches;
    std::vector<std::string> decoderArguments;
    std::vector<std::string> encoderArguments;
};

}  // namespace

TEST_CASE(SwitchesPassThroughAsTyped, "switches reach the tools as typed, empty ones add nothing") {
    const SwitchCase cases[] = {
        {"", "", {}, {}},
        {"--gain 2", "--alt-preset 128", {"--gain", "2"}, {"--alt-preset", "128"}},
        {"  --start   10  ", "-V 2", {"--start", "10"}, {"-V", "2"}},
        {"--scale 0.5 -v",
         "--tt \"Side A, Track 1; live=yes\" --ta \"A & B (c) ^!\" -q 2",
         {"--scale", "0.5", "-v"},
         {"--tt", "Side A, Track 1; live=yes", "--ta", "A & B (c) ^!", "-q", "2"}},
    };
    for (const SwitchCase& c : cases) {
        CaseFolder folder("switches");
        const std::string input = folder.MakeInput("song.mpc");
        MemoryFileQueue queue;
        queue.Append(input.c_str());

        RunConversionQueue(FakeToolSettings(c.decoderSwitches, c.encoderSwitches, ""), queue);

        std::vector<std::string> decoder = c.decoderArguments;
        decoder.insert(decoder.end(), {input, "-"});
        std::vector<std::string> encoder = c.encoderArguments;
        encoder.insert(encoder.end(), {"-", WorkFileBeside(folder.Path("song.mp3"))});
        const std::vector<ToolRecord> decoders = folder.Records("decoder");
        const std::vector<ToolRecord> encoders = folder.Records("encoder");
        CHECK(decoders.size() == 1 && encoders.size() == 1);
        if (decoders.size() == 1 && encoders.size() == 1) {
            CHECK_EQ(decoders[0].arguments, decoder);
            CHECK_EQ(encoders[0].arguments, encoder);
        }
        CHECK(ReadFileBytes(folder.WidePath("song.mp3")) == FakeDecoderOutput());
    }
}

// Settings are not file names: a tool path may rely on the command processor
// expanding a variable, as "%ProgramFiles%\..." does.
TEST_CASE(ToolPathExpandsVariables, "a tool path may name its folder through a variable") {
    CaseFolder folder("variable");
    SetEnvironmentVariableA("BRAMKOT_TEST_TOOLS", FakeTools().folder.c_str());
    ConversionSettings settings = FakeToolSettings("", "", "");
    settings.m_mppdecPath = "%BRAMKOT_TEST_TOOLS%\\fake_decoder.exe";
    settings.m_lamePath = "%BRAMKOT_TEST_TOOLS%\\fake_encoder.exe";
    MemoryFileQueue queue;
    queue.Append(folder.MakeInput("song.mpc").c_str());

    RunConversionQueue(settings, queue);

    CHECK_EQ(static_cast<long long>(folder.Records().size()), 2LL);
    CHECK(ReadFileBytes(folder.WidePath("song.mp3")) == FakeDecoderOutput());
    SetEnvironmentVariableA("BRAMKOT_TEST_TOOLS", nullptr);
}
