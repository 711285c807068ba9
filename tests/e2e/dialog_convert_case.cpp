// "Convert Files" in the real main dialog, with real Musepack files and the
// real tools. Arguments: the decoder, the encoder, the music folder and,
// optionally, the output folder.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "converter_dlg.h"
#include "file_queue.h"
#include "gui_test.h"
#include "resource.h"

namespace {

// The Musepack files of `folder` as the shell would drop them: full ANSI paths.
std::vector<std::string> MusepackFiles(const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do
        if (IsMusepackFileName(found.cFileName))
            files.push_back(folder + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST_CASE(convert_real_files, "convert real files") {
    const std::vector<std::string>& arguments = CaseArguments();
    CHECK(arguments.size() == 3 || arguments.size() == 4);
    if (arguments.size() != 3 && arguments.size() != 4)
        return;
    const std::string outputFolder = arguments.size() == 4 ? WindowsPath(arguments[3]) : "";
    const std::vector<std::string> files = MusepackFiles(WindowsPath(arguments[2]));
    CHECK(!files.empty());

    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, WindowsPath(arguments[0]));
        SetControlText(dialog, IDC_LAME_PATH, WindowsPath(arguments[1]));
        SetControlText(dialog, IDC_MPPDEC_SWITCHES, "");
        SetControlText(dialog, IDC_LAME_SWITCHES, "--alt-preset 128");
        SetControlText(dialog, IDC_OUTPUT_DIR, outputFolder);
        DropFiles(dialog, files);
        CHECK_EQ(ListEntries(dialog, IDC_FILE_LIST).size(), files.size());
        CHECK(ConvertAndWait(dialog));
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());
        CHECK(!FileExists("bramkot.bat"));
        PressKey(dialog, VK_ESCAPE);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK(!FileExists("bramkot.ini"));
}
