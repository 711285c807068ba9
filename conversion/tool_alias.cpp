#include "tool_alias.h"

#include "conversion_command.h"
#include "platform_files.h"

namespace {

// Names already taken by other aliases, or strays, are passed over.
constexpr int kNamesToTry = 100;

}  // namespace

bool ToolAlias::Make(const std::string& input) {
    std::string folder;
    if (input.size() < 4 || !AliasFolder(folder))
        return false;
    const std::string extension = input.substr(input.size() - 4);
    for (int number = 1; number <= kNamesToTry; ++number) {
        const std::string path = folder + "\\bramkot alias " + std::to_string(number) + extension;
        if (QueryFileState(path).exists)
            continue;
        if (!ToAnsiExactly(path, m_ansiPath) || !LinkOrCopyFile(input, path))
            return false;
        m_path = path;
        m_mp3 = DeriveOutputPath(path, std::string());
        RemoveFile(m_mp3);  // a stray of a program that ended mid-file
        return true;
    }
    return false;
}

ToolAlias::~ToolAlias() {
    if (m_path.empty())
        return;
    RemoveFile(m_path);
    RemoveFile(m_mp3);
}
