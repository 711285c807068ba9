// The main dialog's tool settings: the "..." buttons that fill the paths,
// the check that the tools are there before a run starts, and the note on
// what "Files at once" 0 means.
#include <string>

#include "browse_dialogs.h"
#include "converter_dlg.h"
#include "file_system.h"
#include "pipeline.h"
#include "text_conversion.h"
#include "tool_check.h"

namespace {

// The places the command processor looks in, on this system.
class SystemProgramPlaces : public ProgramPlaces {
public:
    bool Lookup(const AnsiText& name, AnsiText& value) const override {
        return LookupBatchVariable(name, value);
    }
    AnsiText CurrentFolder() const override {
        AnsiText folder = FullPathInCurrentDirectory(".");
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '.'))
            folder.pop_back();
        return folder;
    }
    bool IsFile(const AnsiText& path) const override {
        const DWORD attributes = ::GetFileAttributesW(ToUtf16(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
};

AnsiText FieldText(HWND dialog, int id) {
    const HWND field = ::GetDlgItem(dialog, id);
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextA(field, &text[0], static_cast<int>(text.size()))));
    return AnsiText(text.begin(), text.end());
}

Utf16Text FolderOf(const AnsiText& path) {
    const std::size_t end = path.find_last_of("\\/");
    return end == AnsiText::npos ? Utf16Text() : ToUtf16(path.substr(0, end + 1));
}

void SayWhy(HWND owner, const std::string& text) {
    Utf16Text wide;
    ToUtf16(text, wide);
    ::MessageBoxW(owner, wide.c_str(), L"BRAMKOT", MB_OK | MB_ICONWARNING);
}

// Puts a chosen path into an ANSI field, or says why it cannot.
void FillField(HWND dialog, int id, const Utf16Text& chosen) {
    AnsiText ansi;
    if (!AnsiSpellingOfPath(chosen, ansi)) {
        SayWhy(dialog, ToUtf8(chosen) +
                           "\n\ncannot be written in this Windows' ANSI code page, which the "
                           "tools read, and its volume gives it no short name that can. Move "
                           "it to a folder whose name the code page spells.");
        return;
    }
    ::SetWindowTextA(::GetDlgItem(dialog, id), ansi.c_str());
}

// Why a tool setting names no program; empty when it names one.
std::string Missing(const SettingRow& row, const ProgramPlaces& places, const AnsiText& setting) {
    const ProgramSearch search = FindProgram(setting, places);
    if (search.found)
        return std::string();
    std::string why = "- " + std::string(row.name) + ": ";
    if (search.path.empty())
        return why + "empty.\n";
    if (!search.bareName)
        return why + ToUtf8(search.path) + " is not there.\n";
    return why + "there is no " + ToUtf8(search.path) + " in the current folder (" +
           ToUtf8(places.CurrentFolder()) + ") or in the folders of PATH.\n";
}

}  // namespace

bool CConverterDlg::ToolsAreThere() {
    const ConversionSettings settings = ToConversionSettings(Settings());
    const SystemProgramPlaces places;
    std::string missing;
    for (const SettingRow& row : kSettingRows)
        if (row.field == &ConversionSettings::m_mppdecPath ||
            row.field == &ConversionSettings::m_lamePath)
            missing += Missing(row, places, settings.*row.field);
    if (missing.empty())
        return true;
    SayWhy(m_hWnd, "The conversion did not start: a tool is not where its setting says.\n\n" +
                       missing + "\nPress \"...\" beside a location to choose the program.");
    return false;
}

void CConverterDlg::BrowseForProgram(int field, const wchar_t* title) {
    const ProgramSearch current = FindProgram(FieldText(m_hWnd, field), SystemProgramPlaces());
    Utf16Text chosen;
    if (ChooseProgram(m_hWnd, title, FolderOf(current.path), chosen))
        FillField(m_hWnd, field, chosen);
}

void CConverterDlg::OnBrowseMppdec() {
    BrowseForProgram(IDC_MPPDEC_PATH, L"The Musepack decoder (mpcdec.exe or mppdec.exe)");
}

void CConverterDlg::OnBrowseLame() {
    BrowseForProgram(IDC_LAME_PATH, L"The LAME encoder (lame.exe)");
}

void CConverterDlg::OnBrowseOutput() {
    const SystemProgramPlaces places;
    const AnsiText batchName = FromAscii<AnsiText>(BatchFileNameOfSlot(0).c_str());
    const BatchFile batch = {batchName, FullPathInCurrentDirectory(BatchFileNameOfSlot(0).c_str())};
    const AnsiText current =
        ExpandedByCommandProcessor(FieldText(m_hWnd, IDC_OUTPUT_DIR), batch, places);
    Utf16Text chosen;
    if (ChooseFolder(m_hWnd, L"The folder for the MP3 files:", ToUtf16(current), chosen))
        FillField(m_hWnd, IDC_OUTPUT_DIR, chosen);
}

// 0, the default, reads as "none" without a word on it. Two lines of the
// narrow column hold "processor" but not "processor (4 here)".
void CConverterDlg::ShowFilesAtOnceNote() {
    const std::string note = "0 = one per CPU (" + std::to_string(ProcessorCount()) + " here)";
    ::SetWindowTextA(::GetDlgItem(m_hWnd, IDC_FILES_AT_ONCE_NOTE), note.c_str());
}
