// Splits the input into the five settings and a dropped path (six fields
// separated by line feeds, in the settings file's order, the path last) and
// checks the output name and the pipeline line built from them.
#include <cstdint>
#include <string>
#include <vector>

#include "conversion_command.h"
#include "fuzz_support.h"
#include "path_buffer.h"

namespace {

std::vector<AnsiText> SplitFields(const AnsiText& bytes, std::size_t count) {
    std::vector<AnsiText> fields;
    std::size_t pos = 0;
    while (fields.size() + 1 < count) {
        const std::size_t end = bytes.find('\n', pos);
        if (end == AnsiText::npos)
            break;
        fields.push_back(bytes.substr(pos, end - pos));
        pos = end + 1;
    }
    fields.push_back(pos <= bytes.size() ? bytes.substr(pos) : AnsiText());
    fields.resize(count);
    return fields;
}

bool StartsWith(const AnsiText& text, const AnsiText& prefix, std::size_t at = 0) {
    return text.size() >= at + prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

bool EndsWith(const AnsiText& text, const AnsiText& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Undoes the doubling of '%'; false when a '%' stands alone.
bool Undouble(const AnsiText& text, AnsiText& plain) {
    plain.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        plain += text[i];
        if (text[i] == '%') {
            if (i + 1 >= text.size() || text[i + 1] != '%')
                return false;
            ++i;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<AnsiText> fields =
        SplitFields(AnsiText(reinterpret_cast<const char*>(data), size), 6);
    ConversionSettings settings;
    settings.m_mppdecPath = fields[0];
    settings.m_lamePath = fields[1];
    settings.m_mppdecSwitches = fields[2];
    settings.m_lameSwitches = fields[3];
    settings.m_outputDir = fields[4];
    // A list entry is a C string of at most 499 characters.
    AnsiText input = fields[5].substr(0, fields[5].find('\0'));
    if (input.size() > PathBuffer::kMaxLength)
        input.resize(PathBuffer::kMaxLength);

    const AnsiText output = DeriveOutputPath<AnsiText>(input, settings.m_outputDir);
    AnsiText changed = input;
    if (!changed.empty())
        changed.back() = '3';

    // Where the dropped name begins in the output path: the output directory
    // part is taken as typed, the rest comes from the dropped name.
    std::size_t nameStart = 0;
    if (settings.m_outputDir.size() < 2) {
        FuzzCheck(output == changed,
                  "without an output directory the MP3 is not next to its input");
    } else {
        const AnsiText& dir = settings.m_outputDir;
        FuzzCheck(StartsWith(output, dir), "output path does not start with the output directory");
        nameStart = dir.size();
        if (dir.back() != '\\') {
            FuzzCheck(StartsWith(output, "\\", nameStart),
                      "no backslash after the output directory");
            ++nameStart;
        } else {
            FuzzCheck(!StartsWith(output, "\\", nameStart),
                      "a second backslash after an output directory that has one");
        }
        const AnsiText name = output.substr(nameStart);
        FuzzCheck(name.find('\\') == AnsiText::npos, "the file name part holds a backslash");
        FuzzCheck(EndsWith(changed, name), "the file name part is not the end of the input");
        FuzzCheck(
            changed.size() == name.size() || changed[changed.size() - name.size() - 1] == '\\',
            "the file name part does not start after a backslash");
    }
    if (!input.empty())
        FuzzCheck(EndsWith(output, "3"), "output path does not end in 3");

    const AnsiText line = BuildConversionCommand(settings, input);
    const AnsiText head = '"' + settings.m_mppdecPath + "\" " + settings.m_mppdecSwitches + " \"";
    FuzzCheck(StartsWith(line, head),
              "line does not start with the quoted decoder and its switches");
    const AnsiText tail = output.substr(0, nameStart);
    const AnsiText middlePrefix =
        "\" - | \"" + settings.m_lamePath + "\" " + settings.m_lameSwitches + " - \"";
    FuzzCheck(EndsWith(line, "\""), "line does not end with a quote");

    // The rest is doubled(input), middle, output directory part, doubled(name), quote.
    const std::size_t inputEnd = head.size() + input.size() + CountChar(input, '%');
    FuzzCheck(line.size() >= inputEnd, "line too short for the input path");
    AnsiText plain;
    FuzzCheck(Undouble(line.substr(head.size(), inputEnd - head.size()), plain) && plain == input,
              "input path in the line is not the input with every % doubled");
    FuzzCheck(StartsWith(line, middlePrefix + tail, inputEnd),
              "encoder part or output directory part not as typed");
    const std::size_t nameAt = inputEnd + middlePrefix.size() + tail.size();
    const AnsiText doubledName = line.substr(nameAt, line.size() - 1 - nameAt);
    FuzzCheck(Undouble(doubledName, plain) && plain == output.substr(nameStart),
              "output name in the line is not the dropped name with every % doubled");
    FuzzCheck(CountChar(line, '%') ==
                  CountChar(head + middlePrefix + tail, '%') +
                      2 * (CountChar(input, '%') + CountChar(output.substr(nameStart), '%')),
              "the % of the dropped-name parts are not exactly doubled");
    return 0;
}
