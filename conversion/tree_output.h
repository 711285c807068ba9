#pragma once

#include <string>

// Where the part of a dropped file's path that goes under the output
// directory begins: its own name, and before it the last `foldersKept`
// folders of its path (those from the dropped folder down). A path of fewer
// folders keeps all of them but its root.
template <typename Text>
std::size_t KeptPartStart(const Text& path, int foldersKept) {
    std::size_t start = path.rfind('\\');
    for (int kept = 0; kept < foldersKept && start != Text::npos && start > 0; ++kept) {
        const std::size_t above = path.rfind('\\', start - 1);
        if (above == Text::npos)
            break;
        start = above;
    }
    return start == Text::npos ? 0 : start + 1;
}
