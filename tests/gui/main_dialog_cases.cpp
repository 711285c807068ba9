// The main dialog: settings in and out, the keys and the close box, focus
// and tab order, icons, geometry.
#include <windows.h>
#include <dlgs.h>

#include <cstdio>
#include <string>

#include "converter_dlg.h"
#include "dialog_layout.h"
#include "gui_test.h"
#include "resource.h"

namespace {

const int kSettingEdits[] = {IDC_MPPDEC_PATH,   IDC_LAME_PATH,  IDC_MPPDEC_SWITCHES,
                             IDC_LAME_SWITCHES, IDC_OUTPUT_DIR, IDC_FILES_AT_ONCE};

void CheckNoSettingsWritten() {
    CHECK(!PathExists("bramkot.ini"));
    CHECK(!PathExists("bramkot.ini.new"));
}

void EditAllSettings(HWND dialog) {
    for (int id : kSettingEdits)
        SetControlText(dialog, id, "changed " + std::to_string(id));
}

}  // namespace

TEST_CASE(missing_settings_file_shows_defaults, "missing settings file shows defaults") {
    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        CHECK_EQ(ControlText(dialog, IDC_MPPDEC_PATH), "C:\\mppdec\\mppdec.exe");
        CHECK_EQ(ControlText(dialog, IDC_LAME_PATH), "C:\\LAME\\lame.exe");
        CHECK_EQ(ControlText(dialog, IDC_MPPDEC_SWITCHES), "--gain 2");
        CHECK_EQ(ControlText(dialog, IDC_LAME_SWITCHES), "--alt-preset 128");
        CHECK_EQ(ControlText(dialog, IDC_OUTPUT_DIR), "");
        CHECK_EQ(ControlText(dialog, IDC_FILES_AT_ONCE), "0");
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());
        PressKey(dialog, VK_ESCAPE);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDCANCEL);
    CheckNoSettingsWritten();  // the defaults are not written until saved
}

TEST_CASE(settings_file_is_shown, "settings file is shown") {
    WriteFileBytes(
        "bramkot.ini",
        "D:\\dec\\mppdec.exe\r\nD:\\enc\\lame.exe\r\n--scale 0.5\r\n-V 2\r\nE:\\MP3\r\n");
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        CHECK_EQ(ControlText(dialog, IDC_MPPDEC_PATH), "D:\\dec\\mppdec.exe");
        CHECK_EQ(ControlText(dialog, IDC_LAME_PATH), "D:\\enc\\lame.exe");
        CHECK_EQ(ControlText(dialog, IDC_MPPDEC_SWITCHES), "--scale 0.5");
        CHECK_EQ(ControlText(dialog, IDC_LAME_SWITCHES), "-V 2");
        CHECK_EQ(ControlText(dialog, IDC_OUTPUT_DIR), "E:\\MP3");
        CHECK_EQ(ControlText(dialog, IDC_FILES_AT_ONCE), "0");  // a file of five lines
        CHECK_EQ(SendDlgItemMessageA(dialog, IDC_SKIP_DONE, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    });
    // Leaving without saving keeps the file as it was.
    CHECK_EQ(ReadFileBytes("bramkot.ini"),
             "D:\\dec\\mppdec.exe\r\nD:\\enc\\lame.exe\r\n--scale 0.5\r\n-V 2\r\nE:\\MP3\r\n");
}

// Enter in an edit control is the default button: all seven settings are
// saved, in file order, and the dialog closes.
TEST_CASE(enter_in_an_edit_saves_all_seven_and_closes,
          "enter in an edit saves all seven and closes") {
    const std::string longPath = "C:\\" + std::string(290, 'p') + "\\mppdec.exe";
    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, longPath);
        SetControlText(dialog, IDC_LAME_PATH, "C:\\Program Files\\LAME\\lame.exe");
        SetControlText(dialog, IDC_MPPDEC_SWITCHES, "");
        SetControlText(dialog, IDC_LAME_SWITCHES, "-b 192 --tt \"x\"");
        SetControlText(dialog, IDC_OUTPUT_DIR, "E:\\MP3\\");
        SetControlText(dialog, IDC_FILES_AT_ONCE, "3");
        SendDlgItemMessageA(dialog, IDC_SKIP_DONE, BM_SETCHECK, BST_CHECKED, 0);
        // The focus starts in the decoder path; two tabs reach the encoder path.
        PressKey(dialog, VK_TAB);
        PressKey(dialog, VK_TAB);
        CHECK_EQ(GetDlgCtrlID(FocusedWindow()), IDC_LAME_PATH);
        PressKey(dialog, VK_RETURN);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDOK);
    CHECK_EQ(
        ReadFileBytes("bramkot.ini"),
        longPath +
            "\r\nC:\\Program Files\\LAME\\lame.exe\r\n\r\n-b 192 --tt \"x\"\r\nE:\\MP3\\\r\n3\r\n1\r\n");
    CHECK(!PathExists("bramkot.ini.new"));
}

TEST_CASE(enter_in_the_output_directory_saves_and_closes,
          "enter in the output directory saves and closes") {
    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        for (int i = 0; i < 4; ++i)
            PressKey(dialog, VK_TAB);
        CHECK_EQ(GetDlgCtrlID(FocusedWindow()), IDC_OUTPUT_DIR);
        SetControlText(dialog, IDC_OUTPUT_DIR, "F:\\out");
        PressKey(dialog, VK_RETURN);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDOK);
    CHECK_EQ(
        ReadFileBytes("bramkot.ini"),
        "C:\\mppdec\\mppdec.exe\r\nC:\\LAME\\lame.exe\r\n--gain 2\r\n--alt-preset 128\r\nF:\\out\r\n0\r\n\r\n");
}

TEST_CASE(escape_closes_without_saving, "escape closes without saving") {
    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        EditAllSettings(dialog);
        PressKey(dialog, VK_ESCAPE);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDCANCEL);
    CheckNoSettingsWritten();
}

// The close box sends SC_CLOSE; WM_CLOSE is what the window manager sends.
TEST_CASE(close_box_closes_without_saving, "close box closes without saving") {
    for (UINT how : {0u, 1u}) {
        CConverterDlg dlg;
        const INT_PTR result = RunDialog(dlg, "BRAMKOT", [how](HWND dialog) {
            EditAllSettings(dialog);
            if (how == 0)
                PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
        });
        CHECK_EQ(result, IDCANCEL);
        CheckNoSettingsWritten();
    }
}

TEST_CASE(first_focus_and_tab_order, "first focus and tab order") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        CHECK_EQ(GetDlgCtrlID(FocusedWindow()), IDC_MPPDEC_PATH);
        const int order[] = {IDC_MPPDEC_SWITCHES,
                             IDC_LAME_PATH,
                             IDC_LAME_SWITCHES,
                             IDC_OUTPUT_DIR,
                             IDC_CLEAR_LIST,
                             IDC_CONVERT,
                             IDOK,
                             IDC_FILES_AT_ONCE,
                             IDC_BROWSE_MPPDEC,
                             IDC_BROWSE_LAME,
                             IDC_BROWSE_OUTPUT,
                             IDC_SKIP_DONE,
                             IDC_MPPDEC_PATH};
        for (int id : order) {
            PressKey(dialog, VK_TAB);
            CHECK_EQ(GetDlgCtrlID(FocusedWindow()), id);
        }
        // The list box is no tab stop and "Clear Selected" is disabled: nothing is selected.
        CHECK((GetWindowLongA(GetDlgItem(dialog, IDC_FILE_LIST), GWL_STYLE) & WS_TABSTOP) == 0);
        CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_CLEAR_SELECTED)));
    });
}

TEST_CASE(icons_drop_target_and_drag_icon, "icons drop target and drag icon") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        CHECK(icon != nullptr);
        const HICON big = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
        const HICON small =
            reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
        CHECK(big != nullptr);
        CHECK(small != nullptr);
        CHECK(big == icon);
        CHECK(small == icon);
        CHECK(reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0)) == icon);
        CHECK((GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0);
        CHECK((GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0);
        CHECK_EQ(WindowText(dialog), "BRAMKOT");
    });
}

// Every control inside the window, no two on top of each other.
TEST_CASE(controls_lie_inside_the_dialog_and_apart, "controls lie inside the dialog and apart") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        CheckLayout(dialog);
        // The texts of the buttons as the table gives them.
        CHECK_EQ(ControlText(dialog, IDC_CLEAR_LIST), "Clear List");
        CHECK_EQ(ControlText(dialog, IDC_CONVERT), "Convert Files");
        CHECK_EQ(ControlText(dialog, IDOK), "Save Settings and Exit");
        CHECK_EQ(ControlText(dialog, IDC_CLEAR_SELECTED), "Clear Selected");
    });
}

// A save that fails says so, naming the file, and the window stays open.
TEST_CASE(a_failed_save_says_why_and_keeps_the_window,
          "a failed save says why and keeps the window") {
    CreateDirectoryA("bramkot.ini.new", nullptr);  // where the new content would go
    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        HWND box = nullptr;
        CHECK(WaitUntil([&] { return (box = OwnedWindow(dialog)) != nullptr; }));
        const std::string text = ControlText(box, 0xFFFF);
        std::printf("the message: %s\n", text.c_str());
        CHECK(text.find("cannot be saved to " + FullPath("bramkot.ini")) != std::string::npos);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        CHECK(WaitUntil([&] { return !IsWindow(box); }));
        Sync(dialog);
        CHECK(IsWindowVisible(dialog));
        PressKey(dialog, VK_ESCAPE);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDCANCEL);
    CHECK(!PathExists("bramkot.ini"));
}

namespace {

void ClickLater(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The system dialog a "..." button opened, once it is there.
HWND OpenedBy(HWND dialog) {
    HWND opened = nullptr;
    WaitUntil([&] { return (opened = OwnedWindow(dialog)) != nullptr; });
    if (opened != nullptr)
        Sync(dialog);
    return opened;
}

void Close(HWND dialog, HWND opened, int button) {
    PostMessageA(opened, WM_COMMAND, button, 0);
    CHECK(WaitUntil([&] { return !IsWindow(opened); }));
    Sync(dialog);
}

}  // namespace

// "..." beside a tool path opens the Open dialog in the folder the field
// names ("%NAME%" expanded) and puts the chosen program into the field;
// "..." beside the output directory opens the folder picker on the folder
// the field names and takes the folder chosen. Cancelled, each leaves its
// field as it was.
TEST_CASE(browse_buttons_fill_the_fields, "browse buttons fill the fields") {
    CreateDirectoryA("tools", nullptr);
    WriteFileBytes("tools\\mpcdec.exe", "MZ");
    CreateDirectoryW(L"\x97F3\x697D", nullptr);
    WriteFileBytes(L"\x97F3\x697D\\mpcdec.exe", "MZ");
    SetEnvironmentVariableA("BRAMKOT_TEST_TOOLS", FullPath("tools").c_str());
    const std::string typed = "%BRAMKOT_TEST_TOOLS%\\mppdec.exe";
    // Taken now: Wine's Open dialog makes the folder it shows the current one
    // while it is open.
    const std::string program = FullPath("tools\\mpcdec.exe");
    const std::wstring outsideCodePage = AnsiToWide(FullPath(".")) + L"\\\x97F3\x697D\\mpcdec.exe";
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, typed);
        ClickLater(dialog, IDC_BROWSE_MPPDEC);
        HWND open = OpenedBy(dialog);
        CHECK(open != nullptr);
        CHECK_EQ(WindowText(open), "The Musepack decoder (mpcdec.exe or mppdec.exe)");
        Close(dialog, open, IDCANCEL);
        CHECK_EQ(ControlText(dialog, IDC_MPPDEC_PATH), typed);

        // A bare name typed into the Open dialog is a file of its first folder.
        ClickLater(dialog, IDC_BROWSE_MPPDEC);
        open = OpenedBy(dialog);
        HWND name =
            GetDlgItem(open, edt1) != nullptr ? GetDlgItem(open, edt1) : GetDlgItem(open, cmb13);
        CHECK(name != nullptr);
        SetWindowTextA(name, "mpcdec.exe");
        Close(dialog, open, IDOK);
        CHECK_EQ(ControlText(dialog, IDC_MPPDEC_PATH), program);

        // A program in a folder the ANSI code page cannot spell goes in by a
        // short name that names it, or a message says why and the field stays.
        ClickLater(dialog, IDC_BROWSE_MPPDEC);
        open = OpenedBy(dialog);
        SetWindowTextW(
            GetDlgItem(open, edt1) != nullptr ? GetDlgItem(open, edt1) : GetDlgItem(open, cmb13),
            outsideCodePage.c_str());
        Close(dialog, open, IDOK);
        HWND box = OwnedWindow(dialog);
        const std::string shortName = ControlText(dialog, IDC_MPPDEC_PATH);
        std::printf("a program in a folder outside the code page: \"%s\"%s\n", shortName.c_str(),
                    box != nullptr ? ", with a message" : "");
        if (box != nullptr) {
            CHECK_EQ(shortName, program);
            Close(dialog, box, IDOK);
        } else {
            CHECK(shortName != program);
            CHECK(ReadFileBytes(shortName.c_str()) == "MZ");
        }

        SetControlText(dialog, IDC_OUTPUT_DIR, "%BRAMKOT_TEST_TOOLS%");
        ClickLater(dialog, IDC_BROWSE_OUTPUT);
        HWND picker = OpenedBy(dialog);
        CHECK(picker != nullptr);
        std::printf("the folder picker: \"%s\"\n", WindowText(picker).c_str());
        Close(dialog, picker, IDCANCEL);
        CHECK_EQ(ControlText(dialog, IDC_OUTPUT_DIR), "%BRAMKOT_TEST_TOOLS%");
        ClickLater(dialog, IDC_BROWSE_OUTPUT);
        picker = OpenedBy(dialog);
        Close(dialog, picker, IDOK);
        CHECK_EQ(ControlText(dialog, IDC_OUTPUT_DIR), FullPath("tools"));
    });
}
