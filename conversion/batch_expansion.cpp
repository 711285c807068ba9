#include "batch_expansion.h"

#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "%~<modifiers>0": the parts of the batch file's full path the modifiers
// ask for, always in the order drive, folder, name, extension; none, the
// name as run.
AnsiText BatchFilePathParts(const AnsiText& modifiers, const BatchFile& batch) {
    if (modifiers.empty())
        return batch.name;
    const AnsiText& path = batch.fullPath;
    const std::size_t folderStart = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const std::size_t nameStart =
        path.rfind('\\') == AnsiText::npos ? folderStart : path.rfind('\\') + 1;
    std::size_t extensionStart = path.rfind('.');
    if (extensionStart == AnsiText::npos || extensionStart < nameStart)
        extensionStart = path.size();
    const auto wants = [&](char c) { return modifiers.find(c) != AnsiText::npos; };
    if (!wants('d') && !wants('p') && !wants('n') && !wants('x'))
        return path;
    AnsiText parts;
    if (wants('d'))
        parts += path.substr(0, folderStart);
    if (wants('p'))
        parts += path.substr(folderStart, nameStart - folderStart);
    if (wants('n'))
        parts += path.substr(nameStart, extensionStart - nameStart);
    if (wants('x'))
        parts += path.substr(extensionStart);
    return parts;
}

}  // namespace

AnsiText ExpandAsBatchFileLine(const AnsiText& text, const BatchFile& batch,
                               const BatchVariables& variables) {
    AnsiText expanded;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            expanded += text[i++];
            continue;
        }
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next == '%') {
            expanded += '%';
            i += 2;
            continue;
        }
        if (next == '*') {
            i += 2;
            continue;
        }
        if (IsDigit(next)) {
            if (next == '0')
                expanded += batch.name;
            i += 2;
            continue;
        }
        if (next == '~') {
            std::size_t end = i + 2;
            while (end < text.size() && std::strchr("fdpnx", text[end]) != nullptr &&
                   text[end] != '\0')
                ++end;
            if (end < text.size() && IsDigit(text[end])) {
                if (text[end] == '0')
                    expanded += BatchFilePathParts(text.substr(i + 2, end - i - 2), batch);
                i = end + 1;
                continue;
            }
        }
        const std::size_t close = text.find('%', i + 1);
        if (close == AnsiText::npos) {
            ++i;
            continue;
        }
        AnsiText value;
        if (variables.Lookup(text.substr(i + 1, close - i - 1), value))
            expanded += value;
        i = close + 1;
    }
    return expanded;
}
