#include "tool_alias.h"

#include "conversion_command.h"
#include "platform_files.h"

namespace {

// Names taken by other runs' aliases, or left by a run that ended mid-file,
// are passed over.
constexpr int kNamesToTry = 100;

}  // namespace

// Every alias ends in ".mpc", so no two of them share an MP3 name.
bool ToolAlias::Make(const std::string& input) {
    std::string folder;
    if (!AliasFolder(folder))
        return false;
    for (int number = 1; number <= kNamesToTry; ++number) {
        const std::string path = folder + "\\bramkot alias " + std::to_string(number) + ".mpc";
        const std::string mp3 = DeriveOutputPath(path, std::string());
        if (QueryFileState(path).exists || QueryFileState(mp3).exists)
            continue;
        if (!ToAnsiExactly(path, m_ansiPath) || !LinkOrCopyFile(input, path))
            return false;
        m_path = path;
        m_mp3 = mp3;
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
