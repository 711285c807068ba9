#include <sys/stat.h>

#include <string>

#include "conversion_command.h"
#include "conversion_run.h"
#include "memory_file_queue.h"
#include "temp_directory.h"

namespace {

using HostileRun = InTempDirectory;

// An output directory that makes the output path far longer than the
// 499-character path buffer: the batch file and the encoder get it whole.
TEST_F(HostileRun, OutputPathPastTheBufferLimitReachesTheEncoderWhole) {
    const std::string here = m_directory.string();
    // The decoder records the batch file as it runs; the encoder records its
    // last argument (it cannot create a file of that name here).
    WriteFile("dec.sh", "#!/bin/sh\ncat bramkot.bat > \"" + here + "/batch.seen\"\n");
    WriteFile("enc.sh",
              "#!/bin/sh\ncat >/dev/null\nfor a; do last=$a; done\n"
              "printf '%s' \"$last\" > \"" +
                  here + "/output.seen\"\n");
    chmod("dec.sh", 0755);
    chmod("enc.sh", 0755);

    const ConversionSettings settings = {here + "/dec.sh", here + "/enc.sh", "", "",
                                         "E:\\" + std::string(700, 'o') + "%TEMP%"};
    const std::string input =
        "D:\\" + std::string(300, 'd') + "\\" + std::string(191, 'n') + ".mpc";
    ASSERT_EQ(499u, input.size());
    MemoryFileQueue queue;
    queue.Append(input.c_str());
    RunConversionQueue(settings, queue);

    const std::string expectedOutput = settings.m_outputDir + "\\" + std::string(191, 'n') + ".mp3";
    ASSERT_GT(expectedOutput.size(), 499u);
    EXPECT_EQ(BuildConversionCommand(settings, input) + "\n", ReadFile("batch.seen"));
    // The shell leaves %TEMP% alone; the command processor would expand it,
    // as the user asked by typing it.
    EXPECT_EQ(expectedOutput, ReadFile("output.seen"));
    EXPECT_TRUE(queue.Entries().empty());
}

}  // namespace
