#pragma once

#include <string>

#include "conversion_settings.h"

// An output path split where the dropped name begins: the output directory
// as typed, with its backslash, or nothing when the MP3 goes next to its
// input; then the rest, from the dropped name.
struct OutputPathParts {
    std::string directory;
    std::string droppedName;
};
OutputPathParts SplitOutputPath(const std::string& inputPath, const std::string& outputDir);

// The MP3 file for `inputPath`: its last character becomes "3", and when
// `outputDir` has two characters or more the file goes there instead of next
// to the input.
std::string DeriveOutputPath(const std::string& inputPath, const std::string& outputDir);

// The one-line pipeline that converts `inputPath`, as it goes into the batch
// file: the decoder writes to standard output, the encoder reads standard
// input and writes the MP3 file.
//
// The command processor expands "%" even inside double quotes, so every "%"
// of the dropped file name (the input path and the output file name) is
// doubled to reach the tools unchanged. The settings go in as the user typed
// them, so a tool path may use "%ProgramFiles%".
std::string BuildConversionCommand(const ConversionSettings& settings,
                                   const std::string& inputPath);

// The encoder's last argument in BuildConversionCommand's line, before the
// command processor expands it: the output directory as typed and the
// dropped name with its "%" doubled.
std::string OutputArgument(const ConversionSettings& settings, const std::string& inputPath);

// Where the dropped name's parts wait for the command processor when the
// batch file's code page cannot spell the line: it expands "%NAME%" once, so
// the tools receive the values exactly, "%" and all.
inline constexpr const char kInputVariable[] = "BRAMKOT_INPUT";
inline constexpr const char kOutputVariable[] = "BRAMKOT_OUTPUT";

struct VariableCommand {
    std::string line;
    std::string input;   // the value of kInputVariable
    std::string output;  // the value of kOutputVariable
    // The encoder's last argument as the line holds it, before the command
    // processor expands it.
    std::string outputArgument;
};

// The pipeline of BuildConversionCommand with the input path and the output
// file name (the whole output path when the MP3 goes next to its input) taken
// from the two variables. The settings stay as typed, except that with
// `outputDirInVariable` the output directory goes into the output variable too.
VariableCommand BuildVariableCommand(const ConversionSettings& settings,
                                     const std::string& inputPath, bool outputDirInVariable);
