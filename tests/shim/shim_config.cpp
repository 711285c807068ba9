#include "shim_config.h"

#include <cstdio>
#include <cwctype>

#include "wine_paths.h"

namespace {

std::wstring BaseNameWithoutExtension(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    return name;
}

std::wstring SideFilePath(const std::wstring& shimPath) {
    std::wstring side = shimPath;
    const std::size_t slash = side.find_last_of(L"\\/");
    const std::size_t dot = side.rfind(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        side.erase(dot);
    return side + L".shim";
}

bool ReadSideFile(const std::wstring& sidePath, ShimTarget& target) {
    // The shim may sit in a folder with a non-ASCII name, so open by wide name.
    FILE* stream = _wfopen(sidePath.c_str(), L"rb");
    if (stream == nullptr)
        return false;
    char line[2048];
    while (std::fgets(line, sizeof line, stream) != nullptr) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = text.substr(0, equals);
        const std::wstring value = FromUtf8(text.substr(equals + 1));
        if (key == "program")
            target.program = value;
        else if (key == "arg")
            target.fixedArguments.push_back(value);
        else if (key == "stdin")
            target.relayStandardInput = value == L"relay";
    }
    std::fclose(stream);
    return !target.program.empty();
}

}  // namespace

bool FindShimTarget(const std::wstring& shimPath, ShimTarget& target) {
    if (ReadSideFile(SideFilePath(shimPath), target))
        return true;
    const std::wstring name = BaseNameWithoutExtension(shimPath);
    if (name == L"mppdec") {
        target.program = L"/usr/bin/mpcdec";
        return true;
    }
    if (name == L"lame") {
        target.program = L"/usr/bin/lame";
        target.relayStandardInput = true;
        return true;
    }
    return false;
}
