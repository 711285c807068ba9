#pragma once

#include "conversion_settings.h"
#include "text_kinds.h"
#include "tree_output.h"

// An output path split where the dropped name begins: the output directory
// as typed, with its backslash, or nothing when the MP3 goes next to its
// input; then the rest, from the dropped name. In the kind of text of the
// input path: ANSI for the batch line, UTF-8 for the name of the MP3.
template <typename Text>
struct OutputPathParts {
    Text directory;
    Text droppedName;
};

// A file found under a dropped folder keeps the last `foldersKept` folders of
// its path in its dropped name (tree_output.h).
template <typename Text>
OutputPathParts<Text> SplitOutputPath(const Text& inputPath, const Text& outputDir,
                                      int foldersKept = 0) {
    Text changed = inputPath;
    if (!changed.empty())
        changed.back() = '3';
    if (outputDir.size() < 2)
        return {Text(), changed};
    Text directory = outputDir;
    if (directory.back() != '\\')
        directory += '\\';
    return {directory, changed.substr(KeptPartStart(changed, foldersKept))};
}

// The MP3 file for `inputPath`: its last character becomes "3", and when
// `outputDir` has two characters or more the file goes there instead of next
// to the input, in the folders it keeps.
template <typename Text>
Text DeriveOutputPath(const Text& inputPath, const Text& outputDir, int foldersKept = 0) {
    const OutputPathParts<Text> parts = SplitOutputPath(inputPath, outputDir, foldersKept);
    return parts.directory + parts.droppedName;
}

// The one-line pipeline that converts `inputPath`, as it goes into the batch
// file: the decoder writes to standard output, the encoder reads standard
// input and writes the MP3 file.
//
// The command processor expands "%" even inside double quotes, so every "%"
// of the dropped file name (the input path and the output file name) is
// doubled to reach the tools unchanged. The settings go in as the user typed
// them, so a tool path may use "%ProgramFiles%".
AnsiText BuildConversionCommand(const ConversionSettings& settings, const AnsiText& inputPath,
                                int foldersKept = 0);

// The encoder's last argument in BuildConversionCommand's line, before the
// command processor expands it: the output directory as typed and the
// dropped name with its "%" doubled.
AnsiText OutputArgument(const ConversionSettings& settings, const AnsiText& inputPath,
                        int foldersKept = 0);

// Where the dropped name's parts wait for the command processor when the
// batch file's code page cannot spell the line: it expands "%NAME%" once, so
// the tools receive the values exactly, "%" and all.
inline constexpr const char kInputVariable[] = "BRAMKOT_INPUT";
inline constexpr const char kOutputVariable[] = "BRAMKOT_OUTPUT";

struct VariableCommand {
    AnsiText line;
    AnsiText input;   // the value of kInputVariable
    AnsiText output;  // the value of kOutputVariable
    // The encoder's last argument as the line holds it, before the command
    // processor expands it.
    AnsiText outputArgument;
};

// The pipeline of BuildConversionCommand with the input path and the output
// file name (the whole output path when the MP3 goes next to its input) taken
// from the two variables. The settings stay as typed, except that with
// `outputDirInVariable` the output directory goes into the output variable too.
VariableCommand BuildVariableCommand(const ConversionSettings& settings, const AnsiText& inputPath,
                                     bool outputDirInVariable, int foldersKept = 0);

// The line of BuildConversionCommand with the encoder writing `outputFile`
// (a full path, which the tools get exactly as given) in place of the MP3's
// own name.
AnsiText BuildCommandWritingTo(const ConversionSettings& settings, const AnsiText& inputPath,
                               const AnsiText& outputFile);

// The same through the variables: the input path in kInputVariable and
// `outputFile` whole in kOutputVariable.
VariableCommand BuildVariableCommandWritingTo(const ConversionSettings& settings,
                                              const AnsiText& inputPath,
                                              const AnsiText& outputFile);

// The file name a tool setting ends in: what follows its last "\", "/" or
// ":", without quotes and without blanks around it (mpcdec.exe of the
// setting "C:\Program Files\mpcdec.exe" with its quotes). On ANSI text, or
// on its UTF-8 spelling where a double-byte code page could hide a "\"
// inside a character.
template <class Text>
Text ToolFileName(const Text& setting) {
    Text name = setting;
    const std::size_t folderEnd = name.find_last_of("\\/:");
    if (folderEnd != Text::npos)
        name.erase(0, folderEnd + 1);
    Text unquoted;
    for (const char c : name)
        if (c != '"')
            unquoted += c;
    const std::size_t first = unquoted.find_first_not_of(' ');
    if (first == Text::npos)
        return Text();
    return unquoted.substr(first, unquoted.find_last_not_of(' ') + 1 - first);
}
