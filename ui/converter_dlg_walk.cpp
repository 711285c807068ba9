// The main dialog while a drop that holds folders is read.
#include <vector>

#include "converter_dlg.h"
#include "text_conversion.h"

namespace {

// The files the window lists in one turn: it answers between turns.
const std::size_t kFilesATurn = 2000;

std::vector<std::string> DroppedNames(const CDropFiles& drop) {
    std::vector<std::string> names(drop.GetCount());
    for (UINT i = 0; i < drop.GetCount(); ++i) {
        std::vector<wchar_t> whole(drop.QueryFile(i, nullptr, 0) + 1);
        const UINT length = drop.QueryFile(i, whole.data(), static_cast<UINT>(whole.size()));
        ToUtf8(whole.data(), length, names[i]);
    }
    return names;
}

// "1,234", as the status line counts.
std::string WithThousands(int number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

}  // namespace

// A drop without folders is listed at once, on this thread; one with a
// folder is walked on a thread of its own, the drop's order kept.
bool CConverterDlg::StartWalk(const CDropFiles& drop) {
    std::vector<std::string> names = DroppedNames(drop);
    DroppedFolderTest folders;
    bool folder = false;
    for (std::size_t i = 0; i < names.size() && !folder; ++i)
        folder = folders.IsFolder(names[i]);
    if (!folder)
        return false;
    m_notice.clear();
    m_walk.reset(new DropWalk(m_hWnd, std::move(names)));
    return true;
}

LRESULT CConverterDlg::OnDropWalk(WPARAM, LPARAM) {
    if (m_walk != nullptr)
        TakeFound(kFilesATurn);
    return 0;
}

// Lists what the walk has found; once it is over, says what it left out.
// A run on takes the new entries as files dropped during it.
void CConverterDlg::TakeFound(std::size_t most) {
    std::vector<FoundFile> files;
    const bool more = m_walk->Take(files, most);
    if (!files.empty()) {
        m_fileList.SetRedraw(FALSE);
        for (const FoundFile& file : files)
            m_queue.AppendFromFolder(file.path.c_str(), file.foldersKept);
        m_fileList.SetRedraw(TRUE);
        m_fileList.Invalidate();
    }
    if (!more) {
        const int tooLong = m_walk->TooLong();
        m_walk.reset();
        if (tooLong > 0)
            m_notice = std::to_string(tooLong) +
                       (tooLong == 1 ? " dropped name was" : " dropped names were") +
                       " not listed: longer than 499 characters";
    }
    if (m_run != nullptr) {
        m_run->StartFiles();
        if (m_run->Over() && m_walk == nullptr) {
            EndRun();
            return;
        }
    }
    ShowProgress();
}

// Escape, Clear List or a new drop: the walk ends, and what it found stays.
void CConverterDlg::EndWalk() {
    if (m_walk == nullptr)
        return;
    m_walk->EndAndWait();
    while (m_walk != nullptr)
        TakeFound(static_cast<std::size_t>(-1));
}

std::string CConverterDlg::WalkStatus() const {
    return m_walk == nullptr ? std::string()
                             : "Adding files: " + WithThousands(m_walk->Found()) + " found...";
}
