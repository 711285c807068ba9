#include "decoder_refusal.h"

#include <vector>

#include "conversion_command.h"
#include "text_conversion.h"

namespace {

// What decoders print when they refuse their command line, each in a line
// that names the program (its usage line, or the option parser's complaint,
// which starts with the program's path). Measured with Musepack's mpcdec
// r495: for "--gain 2" its Windows build prints "<path>: unknown option --
// g" for each letter of the switch ("invalid option" on Linux), then its
// usage, and writes no audio. LAME's complaint ("<path>\lame.exe:
// unrecognized option --bogus") names LAME; the tests' stand-in for the
// older decoder takes any switch and prints nothing. The first sign found
// says what happened.
struct RefusalSign {
    const char* text;  // lower case
    const char* said;  // empty: the line itself is quoted
};
const RefusalSign kRefusalSigns[] = {
    {"usage:", "it printed its usage"},
    {"invalid option", ""},
    {"unrecognized option", ""},
    {"unknown option", ""},
    {"illegal option", ""},
};

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The name of the program a tool setting names, without folder and
// extension, in lower case: what the tool's own lines call it.
std::string ProgramName(const AnsiText& setting) {
    std::string name = Lower(ToolFileName(ToUtf8(setting)));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::string DecoderRefusal(const ConversionSettings& settings, const std::string& toolOutput) {
    const std::string decoder = ProgramName(settings.m_mppdecPath);
    const std::string encoder = ProgramName(settings.m_lamePath);
    if (decoder.empty())
        return std::string();
    // The encoder's own complaints name the encoder.
    std::vector<std::string> decoderLines;
    for (const std::string& line : Lines(toolOutput)) {
        const std::string lower = Lower(line);
        if (lower.find(decoder) != std::string::npos &&
            (encoder.empty() || encoder == decoder || lower.find(encoder) == std::string::npos))
            decoderLines.push_back(line);
    }
    for (const RefusalSign& sign : kRefusalSigns) {
        for (const std::string& line : decoderLines) {
            if (Lower(line).find(sign.text) == std::string::npos)
                continue;
            const std::string switches = ToUtf8(settings.m_mppdecSwitches);
            const std::string refused =
                switches.empty() ? "the decoder did not accept its command line"
                                 : "the decoder did not accept its switches \"" + switches + "\"";
            return refused + " (" + (*sign.said != '\0' ? sign.said : "it said: " + line) + ")";
        }
    }
    return std::string();
}
