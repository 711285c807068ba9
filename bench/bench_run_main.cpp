// Times the conversion run against the same pipeline lines run without it.
//
//   bench_run overhead <decoder.exe> <encoder.exe> <count>
//       <count> made-up entries under .\in with trivial tools: the run, each
//       line by a fresh "cmd /c", and all lines from one batch file.
//   bench_run steps <decoder.exe> <encoder.exe> <count>
//       where one file's time goes in such a run (bench_steps.h).
//   bench_run realwork <mppdec.exe> <lame.exe> <folder of .mpc files>
//       the folder's files with real tools: the run, and all lines from one
//       batch file.
//   bench_run parallel <mppdec.exe> <lame.exe> <folder of .mpc files>
//       the folder's files with real tools, one at a time and one per
//       processor.
//   bench_run alias <megabytes>
//       the second name a file outside the ANSI code page gets for the
//       tools: a hard link in the temporary folder, and a copy there.
//   bench_run finish <mppdec.exe> <lame.exe> <.mpc file>
//       the work on one file's MP3 after its pipeline (the length check and
//       the tag copy), against what the real tools take for that file.
//   bench_run oldmp3 <decoder.exe> <encoder.exe> <folder of .mpc files>
//       the folder's files, each beside an old MP3, two at once: how many
//       converted, how many failed, what was left beside the music.
//
// Runs in the current directory. The figures are appended to
// bench-result.txt there; the console gets what the command processor and
// the tools print.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "bench_clock.h"
#include "bench_files.h"
#include "bench_steps.h"
#include "conversion_command.h"
#include "conversion_run.h"
#include "handle.h"
#include "memory_file_queue.h"
#include "mp3_finish.h"
#include "tool_alias.h"

namespace {

FILE* Results() {
    static FILE* file = std::fopen("bench-result.txt", "a");
    return file != nullptr ? file : stderr;
}

struct Phase {
    double milliseconds = 0;
    int outputs = 0;
    std::string problems;  // printed under the figure
};

std::vector<std::string> OutputsOf(const std::vector<std::string>& inputs,
                                   const ConversionSettings& settings) {
    std::vector<std::string> outputs;
    for (const std::string& input : inputs)
        outputs.push_back(DeriveOutputPath(input, Bytes(settings.m_outputDir)));
    return outputs;
}

// Counts the outputs of a way and deletes them. A baseline that loses outputs
// measures nothing, so a short count says what became of the missing ones:
// never made, made empty (the encoder got no input), or written only after
// the command processor returned (by a tool it did not wait for).
void CountOutputs(Phase& phase, const std::vector<std::string>& outputs, const char* way) {
    const FileCount found = CountFiles(outputs);
    phase.outputs = found.nonEmpty;
    const int missing = static_cast<int>(outputs.size()) - phase.outputs;
    if (missing > 0) {
        const int empty = found.existing - found.nonEmpty;
        Sleep(2000);
        const int late = CountFiles(outputs).nonEmpty - phase.outputs;
        char problem[200];
        std::snprintf(problem, sizeof problem,
                      "    %s: %d of %zu outputs missing: %d never made, %d empty, %d there 2 s "
                      "later\n",
                      way, missing, outputs.size(), missing - empty, empty, late);
        phase.problems += problem;
    }
    DeleteFiles(outputs);
}

// The status of the command processor is the last tool's: not 0 when that
// failed, -1 when the command processor itself did not run.
void CheckStatus(Phase& phase, const char* way, int status) {
    if (status == 0)
        return;
    char problem[120];
    std::snprintf(problem, sizeof problem, "    %s: the command processor returned %d (errno %d)\n",
                  way, status, status == -1 ? errno : 0);
    phase.problems += problem;
}

Phase TimeQueueRun(const ConversionSettings& settings, const std::vector<std::string>& inputs) {
    MemoryFileQueue queue;
    for (const std::string& input : inputs)
        queue.Append(input.c_str());
    const double start = NowMilliseconds();
    RunConversionQueue(settings, queue);
    Phase phase;
    phase.milliseconds = NowMilliseconds() - start;
    if (queue.Entries().empty())
        CountOutputs(phase, OutputsOf(inputs, settings), "RunConversionQueue");
    else
        phase.outputs = -1;
    return phase;
}

// "cmd /c" with the whole line in one more pair of quotes, which the command
// processor takes off again: the way system() hands over a command.
Phase TimeFreshCommandProcessors(const ConversionSettings& settings,
                                 const std::vector<std::string>& inputs) {
    const double start = NowMilliseconds();
    Phase phase;
    for (const std::string& input : inputs) {
        const std::string quoted = '"' + Bytes(BuildConversionCommand(settings, Ansi(input))) + '"';
        CheckStatus(phase, "fresh cmd /c", std::system(quoted.c_str()));
    }
    phase.milliseconds = NowMilliseconds() - start;
    CountOutputs(phase, OutputsOf(inputs, settings), "fresh cmd /c");
    return phase;
}

Phase TimeOneBatchFile(const ConversionSettings& settings, const std::vector<std::string>& inputs) {
    std::vector<std::string> lines;
    for (const std::string& input : inputs)
        lines.push_back(Bytes(BuildConversionCommand(settings, Ansi(input))));
    const double start = NowMilliseconds();
    const bool written = WriteTextFile("bench-all.bat", lines);
    Phase phase;
    if (written)
        CheckStatus(phase, "one batch file", std::system("bench-all.bat"));
    phase.milliseconds = NowMilliseconds() - start;
    DeleteFileA("bench-all.bat");
    if (!written)
        phase.problems += "    one batch file: could not be written\n";
    CountOutputs(phase, OutputsOf(inputs, settings), "one batch file");
    return phase;
}

void Add(Phase& total, const Phase& part) {
    total.milliseconds += part.milliseconds;
    total.outputs += part.outputs;
    total.problems += part.problems;
}

void Report(const char* what, const Phase& phase, std::size_t files) {
    std::fprintf(Results(), "  %-46s %9.0f ms  (%6.1f ms a file, %d of %zu outputs written)\n",
                 what, phase.milliseconds, phase.milliseconds / static_cast<double>(files),
                 phase.outputs, files);
    std::fputs(phase.problems.c_str(), Results());
}

int Overhead(const std::string& decoder, const std::string& encoder, int count) {
    const std::vector<std::string> inputs = MakeInputs("in", count);
    const ConversionSettings settings = {
        Ansi(decoder), Ansi(encoder), "--gain 2", "--alt-preset 128", "", "1"};
    // In rounds, each way in turn and each round starting with the next way,
    // so that a slow spell of the machine falls on all three alike.
    const int rounds = count >= 60 ? 6 : 1;
    // Wine's command processor here now and then does not find a tool that is
    // there ("Can't recognize ...", status 9009), and when that tool is the
    // batch file, a whole round of that way is lost. A round in which a way
    // did less work than the others times nothing, so it is run again.
    const int attempts = 3;
    Phase queue, fresh, batch;
    std::string repeated;
    for (int round = 0; round < rounds; ++round) {
        const std::vector<std::string> part(inputs.begin() + round * count / rounds,
                                            inputs.begin() + (round + 1) * count / rounds);
        for (int attempt = 1;; ++attempt) {
            Phase ways[3];
            for (int step = 0; step < 3; ++step) {
                switch ((round + step) % 3) {
                case 0:
                    ways[0] = TimeQueueRun(settings, part);
                    break;
                case 1:
                    ways[1] = TimeFreshCommandProcessors(settings, part);
                    break;
                default:
                    ways[2] = TimeOneBatchFile(settings, part);
                    break;
                }
            }
            const int size = static_cast<int>(part.size());
            const bool whole =
                ways[0].outputs == size && ways[1].outputs == size && ways[2].outputs == size;
            if (whole || attempt == attempts) {
                Add(queue, ways[0]);
                Add(fresh, ways[1]);
                Add(batch, ways[2]);
                break;
            }
            repeated += "  round " + std::to_string(round + 1) + " run again, as:\n" +
                        ways[0].problems + ways[1].problems + ways[2].problems;
        }
    }
    std::fprintf(Results(), "front-end overhead, %d files in %d rounds, trivial tools:\n", count,
                 rounds);
    Report("RunConversionQueue", queue, inputs.size());
    Report("each line by a fresh cmd /c", fresh, inputs.size());
    Report("all lines from one batch file (for the record)", batch, inputs.size());
    std::fprintf(Results(),
                 "  ratio 1 (RunConversionQueue / fresh cmd /c): %.3f   (aim: at most 1.05)\n",
                 queue.milliseconds / fresh.milliseconds);
    std::fputs(repeated.c_str(), Results());
    return queue.outputs == count && fresh.outputs == count && batch.outputs == count ? 0 : 1;
}

// The Musepack files of `folder`, by full path; none, with a word why, when
// it holds none.
std::vector<std::string> MusepackFilesIn(const std::string& folder) {
    const std::vector<std::string> inputs = ListFiles(FullPath(folder), "*.mpc");
    if (inputs.empty())
        std::fprintf(stderr, "no .mpc files in %s\n", folder.c_str());
    return inputs;
}

// The real tools: the Linux decoder takes no switches; the encoder takes the
// default ones.
ConversionSettings RealToolSettings(const std::string& decoder, const std::string& encoder,
                                    const char* filesAtOnce) {
    return {Ansi(decoder), Ansi(encoder), "", "--alt-preset 128", "", filesAtOnce};
}

int RealWork(const std::string& decoder, const std::string& encoder, const std::string& folder) {
    const std::vector<std::string> inputs = MusepackFilesIn(folder);
    if (inputs.empty())
        return 1;
    const ConversionSettings settings = RealToolSettings(decoder, encoder, "1");
    const int count = static_cast<int>(inputs.size());
    const int rounds = count >= 10 ? 2 : 1;
    Phase queue, batch;
    for (int round = 0; round < rounds; ++round) {
        const std::vector<std::string> part(inputs.begin() + round * count / rounds,
                                            inputs.begin() + (round + 1) * count / rounds);
        if (round % 2 == 0) {
            Add(queue, TimeQueueRun(settings, part));
            Add(batch, TimeOneBatchFile(settings, part));
        } else {
            Add(batch, TimeOneBatchFile(settings, part));
            Add(queue, TimeQueueRun(settings, part));
        }
    }
    std::fprintf(Results(), "real work, %d files in %d rounds, real tools through the test shim:\n",
                 count, rounds);
    Report("RunConversionQueue", queue, inputs.size());
    Report("all lines from one batch file", batch, inputs.size());
    std::fprintf(Results(),
                 "  ratio 2 (RunConversionQueue / one batch file): %.3f   (aim: at most 1.05)\n",
                 queue.milliseconds / batch.milliseconds);
    return queue.outputs == count && batch.outputs == count ? 0 : 1;
}

// The same files one at a time and then as many at once as "Files at once"
// gives by default (one per processor).
int Parallel(const std::string& decoder, const std::string& encoder, const std::string& folder) {
    const std::vector<std::string> inputs = MusepackFilesIn(folder);
    if (inputs.empty())
        return 1;
    const ConversionSettings oneAtATime = RealToolSettings(decoder, encoder, "1");
    const ConversionSettings perProcessor = RealToolSettings(decoder, encoder, "0");
    const Phase one = TimeQueueRun(oneAtATime, inputs);
    const Phase many = TimeQueueRun(perProcessor, inputs);
    const int processors = FilesAtOnce(perProcessor);
    std::fprintf(Results(), "files at once, %zu files with the real tools, %d processors:\n",
                 inputs.size(), processors);
    Report("Files at once 1", one, inputs.size());
    Report("Files at once 0 (one per processor)", many, inputs.size());
    std::fprintf(Results(), "  speed-up: %.2f (aim: at least %.1f, 0.9 times the processors)\n",
                 one.milliseconds / many.milliseconds, 0.9 * processors);
    const int count = static_cast<int>(inputs.size());
    return one.outputs == count && many.outputs == count ? 0 : 1;
}

int Alias(int megabytes) {
    // "Tokyo - live" in Japanese: a name the ANSI code page here cannot spell.
    const std::wstring name = L"\x6771\x4EAC \x2013 \x30E9\x30A4\x30D6.mpc";
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::vector<char> block(1 << 20, 'm');
    DWORD written = 0;
    for (int i = 0; i < megabytes; ++i)
        WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    file.Reset();
    wchar_t full[MAX_PATH];
    GetFullPathNameW(name.c_str(), MAX_PATH, full, nullptr);
    char utf8[MAX_PATH * 3];
    WideCharToMultiByte(CP_UTF8, 0, full, -1, utf8, sizeof utf8, nullptr, nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"bramkot bench copy.mpc";

    const int rounds = 10;
    double link = 0, copied = 0;
    bool made = true;
    for (int round = 0; round < rounds; ++round) {
        double start = NowMilliseconds();
        {
            ToolAlias alias;  // made and removed, as for one file's turn
            made = alias.Make(utf8) && made;
        }
        link += NowMilliseconds() - start;
        start = NowMilliseconds();
        made = CopyFileW(full, copy.c_str(), FALSE) && made;
        DeleteFileW(copy.c_str());
        copied += NowMilliseconds() - start;
    }
    DeleteFileW(full);
    std::fprintf(Results(), "second name for the tools, a file of %d MB, %d rounds:\n", megabytes,
                 rounds);
    std::fprintf(Results(), "  hard link made and removed:   %8.2f ms a file\n", link / rounds);
    std::fprintf(Results(), "  copy made and removed:        %8.2f ms a file%s\n", copied / rounds,
                 made ? "" : "  (SOME FAILED)");
    return made ? 0 : 1;
}

int Finish(const std::string& decoder, const std::string& encoder, const std::string& musepack) {
    const ConversionSettings settings = RealToolSettings(decoder, encoder, "1");
    const std::string input = FullPath(musepack);
    const std::string mp3 = DeriveOutputPath(input, std::string());
    const std::string pristine = mp3 + ".pristine";
    const DecoderCall decoding{settings.m_mppdecPath, settings.m_mppdecSwitches};
    DeleteFileA(mp3.c_str());
    double start = NowMilliseconds();
    const bool written =
        WriteTextFile("bench-finish.bat", {Bytes(BuildConversionCommand(settings, Ansi(input)))});
    const int status = written ? std::system("bench-finish.bat") : -1;
    const double tools = NowMilliseconds() - start;
    DeleteFileA("bench-finish.bat");
    if (status != 0 || !CopyFileA(mp3.c_str(), pristine.c_str(), FALSE)) {
        std::fprintf(Results(), "work after the pipeline: not measured: the tools failed (%d)\n",
                     status);
        return 1;
    }
    // Each round starts from the MP3 as the encoder wrote it.
    const int rounds = 10;
    double length = 0, tags = 0;
    bool complete = true;
    bool tagged = true;
    for (int round = 0; round < rounds; ++round) {
        CopyFileA(pristine.c_str(), mp3.c_str(), FALSE);
        start = NowMilliseconds();
        complete = CheckMp3Length(input, mp3).complete && complete;
        const double checked = NowMilliseconds();
        std::string problem;
        tagged = CarryTagsOver(input, mp3, decoding, problem) && tagged;
        length += checked - start;
        tags += NowMilliseconds() - checked;
    }
    WIN32_FILE_ATTRIBUTE_DATA before, after;
    GetFileAttributesExA(pristine.c_str(), GetFileExInfoStandard, &before);
    GetFileAttributesExA(mp3.c_str(), GetFileExInfoStandard, &after);
    DeleteFileA(pristine.c_str());
    const double work = (length + tags) / rounds;
    std::fprintf(Results(), "work after the pipeline, one file, %d rounds:\n", rounds);
    std::fprintf(Results(), "  real tools (one batch file):           %9.1f ms\n", tools);
    std::fprintf(Results(), "  length check:                          %9.2f ms a file%s\n",
                 length / rounds, complete ? "" : "  (CUT SHORT?)");
    std::fprintf(
        Results(),
        "  tag copy:                              %9.2f ms a file (MP3 %lu bytes, tagged %lu)\n",
        tags / rounds, before.nFileSizeLow, after.nFileSizeLow);
    std::fprintf(Results(), "  share of the tools' time: %.2f %%   (aim: under 3 %%)\n",
                 100.0 * work / tools);
    return complete && tagged && after.nFileSizeLow > before.nFileSizeLow ? 0 : 1;
}

}  // namespace

// Counts the entries a run keeps, with the first few reasons.
class KeptEntries : public RunEvents {
public:
    void EntryKept(int, const FailureReport& report) override {
        if (++m_count <= 5)
            m_reasons += "    " + report.reason + "\n";
    }
    int m_count = 0;
    std::string m_reasons;
};

int OldMp3s(const std::string& decoder, const std::string& encoder, const std::string& folder) {
    const ConversionSettings settings = {Ansi(decoder), Ansi(encoder), "", "", "", "2"};
    const std::vector<std::string> inputs = ListFiles(folder, "*.mpc");
    MemoryFileQueue queue;
    for (const std::string& input : inputs)
        queue.Append(input.c_str());
    KeptEntries kept;
    const double start = NowMilliseconds();
    RunConversionQueue(settings, queue, &kept);
    const double milliseconds = NowMilliseconds() - start;
    // An MP3 that converted starts with the ID3v2 tag its title went into.
    int replaced = 0;
    for (const std::string& mp3 : OutputsOf(inputs, settings)) {
        char start3[3] = {};
        if (FILE* file = std::fopen(mp3.c_str(), "rb")) {
            replaced += std::fread(start3, 1, 3, file) == 3 && std::string(start3, 3) == "ID3";
            std::fclose(file);
        }
    }
    const std::size_t music = inputs.size() * 2;
    const std::size_t everything = ListFiles(folder, "*").size();
    std::fprintf(Results(),
                 "old MP3s, %zu files of 1 s beside an old MP3 each, stand-in tools, two at "
                 "once (aim: all converted, none failed, nothing left beside):\n",
                 inputs.size());
    std::fprintf(Results(),
                 "  converted %d, failed %d, tagged MP3s in place %d, %zu other files "
                 "left beside, %.1f s\n%s",
                 static_cast<int>(inputs.size()) - kept.m_count, kept.m_count, replaced,
                 everything > music ? everything - music : 0, milliseconds / 1000,
                 kept.m_reasons.c_str());
    return kept.m_count == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "overhead" && argc == 5)
        return Overhead(argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "steps" && argc == 5)
        return StepsOfOneFile(Results(), argv[2], argv[3], MakeInputs("in", std::atoi(argv[4])));
    if (mode == "realwork" && argc == 5)
        return RealWork(argv[2], argv[3], argv[4]);
    if (mode == "parallel" && argc == 5)
        return Parallel(argv[2], argv[3], argv[4]);
    if (mode == "alias" && argc == 3)
        return Alias(std::atoi(argv[2]));
    if (mode == "finish" && argc == 5)
        return Finish(argv[2], argv[3], argv[4]);
    if (mode == "oldmp3" && argc == 5)
        return OldMp3s(argv[2], argv[3], argv[4]);
    std::fprintf(stderr,
                 "usage: bench_run overhead <decoder.exe> <encoder.exe> <count>\n"
                 "       bench_run steps <decoder.exe> <encoder.exe> <count>\n"
                 "       bench_run realwork <mppdec.exe> <lame.exe> <folder of .mpc files>\n"
                 "       bench_run parallel <mppdec.exe> <lame.exe> <folder of .mpc files>\n"
                 "       bench_run alias <megabytes>\n"
                 "       bench_run finish <mppdec.exe> <lame.exe> <.mpc file>\n");
    return 2;
}
