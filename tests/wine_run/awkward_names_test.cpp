// Dropped file names reach the tools exactly, whatever the command processor
// would make of their characters: "%" (which it expands even inside double
// quotes), ^ & ( ) ! ' , ; = (literal inside quotes) and letters outside
// ASCII (the batch file is read in another code page than the program's).
#include <windows.h>

#include <algorithm>

#include "case_folder.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Stems of the input names; each gets ".mpc" and its MP3 ".mp3".
std::vector<std::string> AwkwardStems() {
    return {
        "two  spaces here", "50% off",
        "%PATH%",           "100%%",
        "%1 %~dp0 %~n1",    "a^b&c(d)e!f'g,h;i=j",
        "^%PATH%^&!x!",     WideToAnsi(L"Caf\u00E9"),
    };
}

void ConvertAwkwardNames(const char* caseName, bool intoOutputFolder) {
    CaseFolder folder(caseName);
    const std::string inputFolder = folder.MakeFolder("music ^&!(x) 10%");
    const std::string outputFolder =
        intoOutputFolder ? folder.MakeFolder(WideToAnsi(L"mp3 (new) & \u00DCber")) : std::string();
    const std::string mp3Folder = intoOutputFolder ? outputFolder : inputFolder;
    const std::vector<std::string> stems = AwkwardStems();
    CHECK(std::find(stems.begin(), stems.end(), std::string()) == stems.end());
    CHECK(!outputFolder.empty() || !intoOutputFolder);

    MemoryFileQueue queue;
    for (const std::string& stem : stems)
        queue.Append(AnsiToUtf8(folder.MakeInput(inputFolder.substr(folder.path().size() + 1) +
                                                 "\\" + stem + ".mpc"))
                         .c_str());

    RunConversionQueue(FakeToolSettings("", "--alt-preset 128", outputFolder), queue);

    CHECK(queue.Entries().empty());
    CHECK(!FileExists(folder.WidePath("bramkot.bat")));
    const std::vector<ToolRecord> decoders = folder.Records("decoder");
    const std::vector<ToolRecord> encoders = folder.Records("encoder");
    CHECK_EQ(static_cast<long long>(decoders.size()), static_cast<long long>(stems.size()));
    CHECK_EQ(static_cast<long long>(encoders.size()), static_cast<long long>(stems.size()));
    std::vector<std::string> expectedMp3s;
    for (std::size_t i = 0; i < stems.size(); ++i) {
        const std::string input = inputFolder + "\\" + stems[i] + ".mpc";
        const std::string output = mp3Folder + "\\" + stems[i] + ".mp3";
        expectedMp3s.push_back(AnsiToUtf8(stems[i] + ".mp3"));
        if (i < decoders.size())
            CHECK_EQ(decoders[i].arguments, std::vector<std::string>({AnsiToUtf8(input), "-"}));
        if (i < encoders.size())
            CHECK_EQ(encoders[i].arguments,
                     std::vector<std::string>(
                         {"--alt-preset", "128", "-", AnsiToUtf8(WorkFileBeside(output))}));
        bool found = false;
        const std::string bytes = ReadFileBytes(AnsiToWide(output), &found);
        CHECK(found);
        CHECK(bytes == FakeDecoderOutput());
    }

    // The accented name in the tools' own words: U+00E9 as UTF-8, and an MP3
    // file under that true name.
    CHECK(!decoders.empty() && EndsWith(decoders.back().arguments.front(), "\\Caf\xC3\xA9.mpc"));
    CHECK(FileExists(AnsiToWide(mp3Folder) + L"\\Caf\u00E9.mp3"));

    // A line the command processor had split would have run something else or
    // left stray files behind.
    std::sort(expectedMp3s.begin(), expectedMp3s.end());
    if (intoOutputFolder)
        CHECK_EQ(FolderNames(AnsiToWide(outputFolder)), expectedMp3s);
    std::vector<std::string> expectedTop = {AnsiToUtf8("music ^&!(x) 10%"), "tool log.txt"};
    if (intoOutputFolder)
        expectedTop.push_back(WideToUtf8(L"mp3 (new) & \u00DCber"));
    std::sort(expectedTop.begin(), expectedTop.end());
    CHECK_EQ(FolderNames(AnsiToWide(folder.path())), expectedTop);
    CHECK_EQ(static_cast<long long>(FolderNames(AnsiToWide(inputFolder)).size()),
             static_cast<long long>(stems.size() * (intoOutputFolder ? 1 : 2)));
}

}  // namespace

TEST_CASE(AwkwardNamesNextToInput,
          "awkward names reach the tools unchanged, MP3 next to the input") {
    ConvertAwkwardNames("beside", false);
}

TEST_CASE(AwkwardNamesIntoOutputFolder,
          "awkward names reach the tools unchanged, MP3 in the output folder") {
    ConvertAwkwardNames("outdir", true);
}
