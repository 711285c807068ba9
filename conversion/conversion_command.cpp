#include "conversion_command.h"

OutputPathParts SplitOutputPath(const std::string& inputPath, const std::string& outputDir) {
    std::string changed = inputPath;
    if (!changed.empty())
        changed.back() = '3';
    if (outputDir.size() < 2)
        return {std::string(), changed};

    const std::size_t lastBackslash = changed.rfind('\\');
    std::string fileName =
        lastBackslash == std::string::npos ? changed : changed.substr(lastBackslash + 1);
    std::string directory = outputDir;
    if (directory.back() != '\\')
        directory += '\\';
    return {directory, fileName};
}

namespace {

std::string DoublePercentSigns(const std::string& text) {
    std::string doubled;
    doubled.reserve(text.size());
    for (char c : text) {
        doubled += c;
        if (c == '%')
            doubled += '%';
    }
    return doubled;
}

// The line's template around its two file arguments, as they go into it.
std::string Pipeline(const ConversionSettings& settings, const std::string& inputArgument,
                     const std::string& outputArgument) {
    std::string line;
    line += '"' + settings.m_mppdecPath + "\" " + settings.m_mppdecSwitches;
    line += " \"" + inputArgument + "\" - | ";
    line += '"' + settings.m_lamePath + "\" " + settings.m_lameSwitches;
    line += " - \"" + outputArgument + '"';
    return line;
}

std::string Reference(const char* variable) {
    return std::string("%") + variable + '%';
}

}  // namespace

std::string DeriveOutputPath(const std::string& inputPath, const std::string& outputDir) {
    OutputPathParts parts = SplitOutputPath(inputPath, outputDir);
    return parts.directory + parts.droppedName;
}

std::string OutputArgument(const ConversionSettings& settings, const std::string& inputPath) {
    const OutputPathParts output = SplitOutputPath(inputPath, settings.m_outputDir);
    return output.directory + DoublePercentSigns(output.droppedName);
}

std::string BuildConversionCommand(const ConversionSettings& settings,
                                   const std::string& inputPath) {
    return Pipeline(settings, DoublePercentSigns(inputPath), OutputArgument(settings, inputPath));
}

VariableCommand BuildVariableCommand(const ConversionSettings& settings,
                                     const std::string& inputPath, bool outputDirInVariable) {
    const OutputPathParts output = SplitOutputPath(inputPath, settings.m_outputDir);
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
