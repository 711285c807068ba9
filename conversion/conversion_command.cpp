#include "conversion_command.h"

namespace {

// An output path split where the dropped name begins: the output directory
// (with its backslash), or nothing when the MP3 goes next to its input.
struct OutputPathParts {
    std::string directory;
    std::string droppedName;
};

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

}  // namespace

std::string DeriveOutputPath(const std::string& inputPath, const std::string& outputDir) {
    OutputPathParts parts = SplitOutputPath(inputPath, outputDir);
    return parts.directory + parts.droppedName;
}

std::string BuildConversionCommand(const ConversionSettings& settings,
                                   const std::string& inputPath) {
    const OutputPathParts output = SplitOutputPath(inputPath, settings.m_outputDir);
    std::string line;
    line += '"' + settings.m_mppdecPath + "\" " + settings.m_mppdecSwitches;
    line += " \"" + DoublePercentSigns(inputPath) + "\" - | ";
    line += '"' + settings.m_lamePath + "\" " + settings.m_lameSwitches;
    line += " - \"" + output.directory + DoublePercentSigns(output.droppedName) + '"';
    return line;
}
