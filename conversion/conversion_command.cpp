#include "conversion_command.h"

namespace {

AnsiText DoublePercentSigns(const AnsiText& text) {
    AnsiText doubled;
    doubled.reserve(text.size());
    for (char c : text) {
        doubled += c;
        if (c == '%')
            doubled += '%';
    }
    return doubled;
}

// The line's template around its two file arguments, as they go into it.
AnsiText Pipeline(const ConversionSettings& settings, const AnsiText& inputArgument,
                  const AnsiText& outputArgument) {
    AnsiText line;
    line += '"' + settings.m_mppdecPath + "\" " + settings.m_mppdecSwitches;
    line += " \"" + inputArgument + "\" - | ";
    line += '"' + settings.m_lamePath + "\" " + settings.m_lameSwitches;
    line += " - \"" + outputArgument + '"';
    return line;
}

AnsiText Reference(const char* variable) {
    return AnsiText("%") + variable + '%';
}

}  // namespace

AnsiText OutputArgument(const ConversionSettings& settings, const AnsiText& inputPath,
                        int foldersKept) {
    const OutputPathParts<AnsiText> output =
        SplitOutputPath(inputPath, settings.m_outputDir, foldersKept);
    return output.directory + DoublePercentSigns(output.droppedName);
}

AnsiText BuildConversionCommand(const ConversionSettings& settings, const AnsiText& inputPath,
                                int foldersKept) {
    return Pipeline(settings, DoublePercentSigns(inputPath),
                    OutputArgument(settings, inputPath, foldersKept));
}

VariableCommand BuildVariableCommand(const ConversionSettings& settings, const AnsiText& inputPath,
                                     bool outputDirInVariable, int foldersKept) {
    const OutputPathParts<AnsiText> output =
        SplitOutputPath(inputPath, settings.m_outputDir, foldersKept);
    VariableCommand command;
    command.input = inputPath;
    if (outputDirInVariable) {
        command.output = output.directory + output.droppedName;
        command.outputArgument = Reference(kOutputVariable);
    } else {
        command.output = output.droppedName;
        command.outputArgument = output.directory + Reference(kOutputVariable);
    }
    command.line = Pipeline(settings, Reference(kInputVariable), command.outputArgument);
    return command;
}

AnsiText BuildCommandWritingTo(const ConversionSettings& settings, const AnsiText& inputPath,
                               const AnsiText& outputFile) {
    return Pipeline(settings, DoublePercentSigns(inputPath), DoublePercentSigns(outputFile));
}

VariableCommand BuildVariableCommandWritingTo(const ConversionSettings& settings,
                                              const AnsiText& inputPath,
                                              const AnsiText& outputFile) {
    VariableCommand command;
    command.input = inputPath;
    command.output = outputFile;
    command.outputArgument = Reference(kOutputVariable);
    command.line = Pipeline(settings, Reference(kInputVariable), command.outputArgument);
    return command;
}
