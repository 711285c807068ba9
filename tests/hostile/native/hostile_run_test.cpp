#include <sys/stat.h>

#include <string>

#include "ansi_text.h"
#include "conversion_command.h"
#include "conversion_run.h"
#include "memory_file_queue.h"
#include "temp_directory.h"

namespace {

using HostileRun = InTempDirectory;

// An output directory that makes the output path far longer than the
// 499-character path buffer: it is made, the encoder writes its work file
// there, and the MP3 comes whole to its long name.
TEST_F(HostileRun, OutputPathPastTheBufferLimitReachesTheEncoderWhole) {
    const std::string here = m_directory.string();
    // The decoder hands on the batch file as it runs; the encoder writes it to
    // its last argument and records that argument.
    WriteFile("dec.sh", "#!/bin/sh\ntee \"" + here + "/batch.seen\" < bramkot.bat\n");
    WriteFile("enc.sh",
              "#!/bin/sh\nfor a; do last=$a; done\ncat > \"$last\"\n"
              "printf '%s' \"$last\" > \"" +
                  here + "/output.seen\"\n");
    chmod("dec.sh", 0755);
    chmod("enc.sh", 0755);

    const std::string outputFolder =
        here + "/" + std::string(200, 'o') + "/" + std::string(200, 'p');
    const ConversionSettings settings = {
        Ansi(here + "/dec.sh"),
        Ansi(here + "/enc.sh"),
        "",
        "",
        Ansi(outputFolder + "/" + std::string(100, 'q') + "%TEMP%"),
        "1"};
    const std::string inputFolder = here + "/" + std::string(150, 'd');
    mkdir(inputFolder.c_str(), 0755);
    // A backslash only in the last name, which the MP3 is named after.
    const std::string name = std::string(50, 'e') + "\\" + std::string(100, 'n') + ".mpc";
    const std::string innerFolder =
        inputFolder + "/" + std::string(499 - inputFolder.size() - 2 - name.size(), 'f');
    mkdir(innerFolder.c_str(), 0755);
    const std::string input = innerFolder + "/" + name;
    ASSERT_EQ(499u, input.size());
    WriteFile(input, "musepack");
    MemoryFileQueue queue;
    queue.Append(input.c_str());
    RunConversionQueue(settings, queue);

    const std::string expectedOutput =
        Bytes(settings.m_outputDir) + "\\" + std::string(100, 'n') + ".mp3";
    ASSERT_GT(expectedOutput.size(), 499u);
    const std::string work = outputFolder + "/~bramkot 1.mp3";
    EXPECT_EQ(Bytes(BuildCommandWritingTo(settings, Ansi(input), Ansi(work))) + "\n",
              ReadFile("batch.seen"));
    EXPECT_EQ(work, ReadFile("output.seen"));
    // The shell leaves %TEMP% alone; the command processor would expand it,
    // as the user asked by typing it.
    EXPECT_EQ(ReadFile("batch.seen"), ReadFile(expectedOutput));
    EXPECT_TRUE(queue.Entries().empty());
}

}  // namespace
