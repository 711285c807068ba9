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

}  // namespace

void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue) {
    PathBuffer entry;
    while (queue.Read(0, entry)) {
        const std::string line = BuildConversionCommand(settings, entry.m_text);
        if (!WriteBatchFile(ToBatchFileCodePage(line)))
            return;
        std::system(BatchFileCommand());
        unlink(kBatchFileName);
        queue.Delete(0);
    }
}
