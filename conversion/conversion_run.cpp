#include "conversion_run.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "conversion_command.h"
#include "platform_files.h"

#ifdef _WIN32
#include <io.h>
#define unlink _unlink
#else
#include <unistd.h>
#endif

namespace {

// A batch file cut short by a full disk would run half a command, so the
// write counts only when every byte reached the file.
bool WriteBatchFile(const std::string& line) {
    FILE* file = std::fopen(kBatchFileName, "wt");
    if (file == nullptr)
        return false;
    bool written = std::fprintf(file, "%s\n", line.c_str()) >= 0;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written)
        unlink(kBatchFileName);
    return written;
}

// The line as the batch file holds it. When the batch file's code page cannot
// spell it, `variables` gets the values for the line that reads the dropped
// name from the environment instead.
std::string BatchLine(const ConversionSettings& settings, const std::string& inputPath,
                      VariableCommand& variables) {
    std::string line;
    if (ToBatchFileCodePage(BuildConversionCommand(settings, inputPath), line))
        return line;
    std::string unused;
    const bool outputDirSpelled = ToBatchFileCodePage(settings.m_outputDir, unused);
    variables = BuildVariableCommand(settings, inputPath, !outputDirSpelled);
    ToBatchFileCodePage(variables.line, line);
    return line;
}

}  // namespace

void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue) {
    PathBuffer entry;
    while (queue.Read(0, entry)) {
        const BatchFileTurn turn(kBatchFileName);
        VariableCommand variables;
        if (!WriteBatchFile(BatchLine(settings, entry.m_text, variables)))
            return;
        const bool byVariables = !variables.line.empty();
        if (byVariables) {
            SetBatchVariable(kInputVariable, variables.input.c_str());
            SetBatchVariable(kOutputVariable, variables.output.c_str());
        }
        std::system(BatchFileCommand());
        if (byVariables) {
            SetBatchVariable(kInputVariable, nullptr);
            SetBatchVariable(kOutputVariable, nullptr);
        }
        unlink(kBatchFileName);
        queue.Delete(0);
    }
}
