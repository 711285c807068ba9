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
// 499-character path buffer: it is made, and the batch file, the encoder and
// the check of its MP3 get the path whole.
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

    const ConversionSettings settings = {
        Ansi(here + "/dec.sh"),
        Ansi(here + "/enc.sh"),
        "",
        "",
        Ansi(here + "/" + std::string(200, 'o') + "/" + std::string(200, 'p') + "/" +
             std::string(100, 'q') + "%TEMP%"),
        "1"};
    const std::string input =
        "D:\\" + std::string(391, 'd') + "\\" + std::string(100, 'n') + ".mpc";
    ASSERT_EQ(499u, input.size());
    MemoryFileQueue queue;
    queue.Append(input.c_str());
    RunConversionQueue(settings, queue);

    const std::string expectedOutput =
        Bytes(settings.m_outputDir) + "\\" + std::string(100, 'n') + ".mp3";
    ASSERT_GT(expectedOutput.size(), 499u);
    EXPECT_EQ(Bytes(BuildConversionCommand(settings, Ansi(input))) + "\n", ReadFile("batch.seen"));
    // The shell leaves %TEMP% alone; the command processor would expand it,
    // as the user asked by typing it.
    EXPECT_EQ(expectedOutput, ReadFile("output.seen"));
    EXPECT_EQ(ReadFile("batch.seen"), ReadFile(expectedOutput));
    EXPECT_TRUE(queue.Entries().empty());
}

}  // namespace
