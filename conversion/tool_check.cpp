#include "tool_check.h"

#include <vector>

#include "pipeline.h"
#include "text_conversion.h"

namespace {

// The command processor's extensions when PATHEXT is not set.
const char kDefaultProgramExtensions[] = ".COM;.EXE;.BAT;.CMD";

std::vector<AnsiText> SplitList(const AnsiText& list) {
    std::vector<AnsiText> parts;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == AnsiText::npos)
            end = list.size();
        AnsiText part;
        for (std::size_t i = start; i < end; ++i)
            if (list[i] != '"')
                part += list[i];
        if (!part.empty())
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasFolder(const AnsiText& name) {
    return name.find_first_of("\\/:") != AnsiText::npos;
}

// "C:\x", "\x", "\\server\x" and "C:x" do not depend on the current folder.
bool IsRooted(const AnsiText& name) {
    return (!name.empty() && IsSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
}

bool HasExtension(const AnsiText& name) {
    const std::size_t dot = name.rfind('.');
    return dot != AnsiText::npos && name.find_first_of("\\/:", dot) == AnsiText::npos;
}

// The program `name` in `folder` (empty: `name` is the whole path).
bool FindIn(const AnsiText& folder, const AnsiText& name, const std::vector<AnsiText>& extensions,
            const ProgramPlaces& places, AnsiText& found) {
    AnsiText path = folder;
    if (!path.empty() && !IsSeparator(path.back()))
        path += '\\';
    path += name;
    if (HasExtension(name) && places.IsFile(path)) {
        found = path;
        return true;
    }
    for (const AnsiText& extension : extensions) {
        if (places.IsFile(path + extension)) {
            found = path + extension;
            return true;
        }
    }
    return false;
}

}  // namespace

ProgramSearch FindProgram(const AnsiText& setting, const ProgramPlaces& places) {
    const AnsiText folder = places.CurrentFolder();
    const AnsiText batchName = FromAscii<AnsiText>(BatchFileNameOfSlot(0).c_str());
    const BatchFile batch = {batchName, folder + '\\' + batchName};
    AnsiText name;
    for (char c : ExpandAsBatchFileLine(setting, batch, places))
        if (c != '"')
            name += c;

    AnsiText extensionList;
    if (!places.Lookup(FromAscii<AnsiText>("PATHEXT"), extensionList))
        extensionList = FromAscii<AnsiText>(kDefaultProgramExtensions);
    const std::vector<AnsiText> extensions = SplitList(extensionList);

    ProgramSearch search;
    search.path = name;
    if (name.empty())
        return search;
    if (HasFolder(name)) {
        search.found =
            FindIn(IsRooted(name) ? AnsiText() : folder, name, extensions, places, search.path);
        return search;
    }
    search.bareName = true;
    std::vector<AnsiText> folders = {folder};
    AnsiText pathList;
    if (places.Lookup(FromAscii<AnsiText>("PATH"), pathList))
        for (const AnsiText& entry : SplitList(pathList))
            folders.push_back(entry);
    for (const AnsiText& place : folders)
        if (FindIn(place, name, extensions, places, search.path)) {
            search.found = true;
            return search;
        }
    return search;
}
