#include "file_verdict.h"

#include "decimal_text.h"
#include "text_conversion.h"

namespace {

// The last line of the tools' words that holds more than blanks; progress
// lines end in a carriage return alone.
std::string LastLine(const AnsiText& ansiOutput) {
    const std::string output = ToUtf8(ansiOutput);
    std::size_t end = output.size();
    while (end > 0) {
        const std::size_t start = output.find_last_of("\r\n", end - 1);
        const std::size_t first = start == std::string::npos ? 0 : start + 1;
        std::string line = output.substr(first, end - first);
        const std::size_t text = line.find_first_not_of(" \t");
        if (text != std::string::npos)
            return line.substr(text, line.find_last_not_of(" \t") + 1 - text);
        if (start == std::string::npos)
            break;
        end = start;
    }
    return std::string();
}

std::string WithToolWords(const std::string& reason, const AnsiText& output) {
    const std::string last = LastLine(output);
    return last.empty() ? reason : reason + ": " + last;
}

std::string Seconds(double seconds) {
    return FixedPoint(seconds, 1) + " s";
}

}  // namespace

std::string PipelineVerdict(const PipelineResult& result, const FileState& before,
                            const FileState& after, const LengthCheck& length) {
    switch (result.end) {
    case PipelineEnd::BatchFileNotWritten:
        return "not run: " + result.problem;
    case PipelineEnd::NotStarted:
        return "the command processor cannot be started: " + result.problem;
    case PipelineEnd::EndedByUser:
        return "ended by the user";
    case PipelineEnd::Stalled:
        return "stalled: its tools did nothing for " + std::to_string(kStalledSeconds / 60) +
               " minutes";
    case PipelineEnd::Ran:
        break;
    }
    if (result.status != 0)
        return WithToolWords("the tools ended with status " + std::to_string(result.status),
                             result.output);
    if (!WroteFile(before, after))
        return WithToolWords("the encoder wrote no MP3", result.output);
    if (after.size == 0)
        return WithToolWords("the encoder wrote an empty MP3", result.output);
    if (!length.audio)
        return WithToolWords("the encoder wrote no MPEG audio", result.output);
    if (!length.complete)
        return "the MP3 lasts " + Seconds(length.mp3Seconds) + "; the Musepack stream " +
               Seconds(length.streamSeconds);
    return std::string();
}
