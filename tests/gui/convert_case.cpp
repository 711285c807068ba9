// "Convert Files" with the fake tools of tests/tools (their paths are the
// case's arguments): it uses what the edit controls show, saved or not.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "converter_dlg.h"
#include "dialog_layout.h"
#include "fake_tools.h"
#include "gui_test.h"
#include "handle.h"
#include "resource.h"

TEST_CASE(convert_uses_edited_settings_that_were_never_saved,
          "convert uses edited settings that were never saved") {
    if (!HasCaseArguments(2))
        return;
    const std::string decoder = WindowsPath(CaseArguments()[0]);
    const std::string encoder = WindowsPath(CaseArguments()[1]);
    const std::string log = FullPath("tools.log");
    SetEnvironmentVariableA(kToolLogVariable, log.c_str());
    CreateDirectoryA("out", nullptr);
    WriteFileBytes("first song.mpc", "not really musepack");
    WriteFileBytes("Second.MP+", "nor this");
    const std::string first = FullPath("first song.mpc");
    const std::string second = FullPath("Second.MP+");
    const std::string outDir = FullPath("out");

    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, decoder);
        SetControlText(dialog, IDC_LAME_PATH, encoder);
        SetControlText(dialog, IDC_MPPDEC_SWITCHES, "--edited-switch");
        SetControlText(dialog, IDC_LAME_SWITCHES, "-b 128");
        SetControlText(dialog, IDC_OUTPUT_DIR, outDir);
        SetControlText(dialog, IDC_FILES_AT_ONCE, "1");  // the tools' records in list order
        DropFiles(dialog, {first, second});
        CHECK_EQ(ListEntries(dialog, IDC_FILE_LIST).size(), 2);
        CHECK(ConvertAndWait(dialog));
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());
        CHECK(!PathExists("bramkot.bat"));
        PressKey(dialog, VK_ESCAPE);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDCANCEL);
    // The encoder writes a work file in the output folder, which then takes
    // the MP3's name.
    // clang-format off
    CHECK_EQ(ReadFileBytes("tools.log"),
                 "decoder\t--edited-switch\t" + first + "\t-\n"
                 "encoder\t-b\t128\t-\t" + outDir + "\\~bramkot 1.mp3\n"
                 "decoder\t--edited-switch\t" + second + "\t-\n"
                 "encoder\t-b\t128\t-\t" + outDir + "\\~bramkot 1.mp3\n");
    // clang-format on
    CHECK(ReadFileBytes("out\\first song.mp3") == FakeDecoderOutput());
    CHECK(ReadFileBytes("out\\Second.MP3") == FakeDecoderOutput());
    CHECK(!PathExists("bramkot.ini"));
    CHECK(!PathExists("bramkot.ini.new"));
}

// An entry longer than a PathBuffer holds cannot come from a drop; put in
// by other means, it is never read cut short: the run stops at it.
TEST_CASE(convert_stops_at_an_entry_too_long_for_the_path_buffer,
          "convert stops at an entry too long for the path buffer") {
    const std::string log = FullPath("tools.log");
    SetEnvironmentVariableA(kToolLogVariable, log.c_str());
    const std::string tooLong = "C:\\" + std::string(600, 'x') + ".mpc";
    WriteFileBytes("tool.exe", "never run");  // for the check that the tools are there
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, FullPath("tool.exe"));
        SetControlText(dialog, IDC_LAME_PATH, "tool.exe");
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        RunOnDialogThread([&] {
            SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(tooLong.c_str()));
            SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>("C:\\next.mpc"));
        });
        CHECK(ConvertAndWait(dialog));
        // Both entries are still listed, the long one whole. (Read by length
        // only: Wine's list box here fails on LB_GETTEXT of such a long entry,
        // which the program never asks for.)
        CHECK_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
        CHECK_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), tooLong.size());
        char second[32] = {};
        CHECK_EQ(SendMessageA(list, LB_GETTEXTLEN, 1, 0), 11);
        SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(second));
        CHECK_EQ(second, "C:\\next.mpc");
        CHECK(!PathExists("bramkot.bat"));
    });
    CHECK(!PathExists("tools.log"));
}

namespace {

// The stand-ins the run leaves in the temporary folder, if any.
std::vector<std::string> AliasesInTemp() {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::vector<std::string> aliases;
    for (const std::string& name : FolderNames(temp))
        if (name.compare(0, 13, "bramkot alias") == 0)
            aliases.push_back(name);
    return aliases;
}

// The list's entries exactly, as the control holds them (UTF-8).
std::vector<std::string> WideListEntries(HWND dialog) {
    std::vector<std::string> entries;
    RunOnDialogThread([&] {
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring text(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
            text.resize(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0])));
            entries.push_back(WideToUtf8(text));
        }
    });
    return entries;
}

// A shell drop of wide names, as Explorer makes it.
void DropWideFiles(HWND dialog, const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names)
        list += name + L'\0';
    SendMessageW(dialog, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropBlock(list.c_str(), (list.size() + 1) * 2, TRUE)), 0);
}

}  // namespace

// Japanese, Greek and Cyrillic names, in a folder the ANSI code page cannot
// spell either, are listed exactly and convert with tools that read only the
// ANSI command line: the MP3 files get their true names and nothing is left
// in the temporary folder. With a failing encoder the entry stays, the MP3
// of the earlier run is left alone, and again nothing is left over.
TEST_CASE(names_outside_the_ansi_code_page_convert_with_ansi_tools,
          "names outside the ansi code page convert with ansi tools") {
    if (!HasCaseArguments(2))
        return;
    SetEnvironmentVariableA(kToolLogVariable, FullPath("tools.log").c_str());
    const std::vector<std::string> aliasesBefore = AliasesInTemp();
    const std::wstring folder = AnsiToWide(FullPath(".")) + L"\\\x97F3\x697D \x266B";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<std::wstring> stems = {
        L"\x6771\x4EAC \x2013 \x30E9\x30A4\x30D6",
        L"\x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC",
        L"\x041F\x0440\x0438\x0432\x0435\x0442 \x043C\x0438\x0440"};
    const std::vector<std::wstring> inputs = {folder + L"\\" + stems[0] + L".mpc",
                                              folder + L"\\" + stems[1] + L".MPC",
                                              folder + L"\\" + stems[2] + L".mp+"};
    std::vector<std::string> expectedFolder;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        WriteFileBytes(inputs[i], "input");
        expectedFolder.push_back(WideToUtf8(inputs[i].substr(folder.size() + 1)));
        expectedFolder.push_back(WideToUtf8(stems[i] + (i == 1 ? L".MP3" : L".mp3")));
    }
    std::sort(expectedFolder.begin(), expectedFolder.end());

    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, WindowsPath(CaseArguments()[0]));
        SetControlText(dialog, IDC_LAME_PATH, WindowsPath(CaseArguments()[1]));
        SetControlText(dialog, IDC_OUTPUT_DIR, "");
        DropWideFiles(dialog, inputs);
        CHECK(WideListEntries(dialog) ==
              std::vector<std::string>(
                  {WideToUtf8(inputs[0]), WideToUtf8(inputs[1]), WideToUtf8(inputs[2])}));
        CHECK(ConvertAndWait(dialog));
        CHECK(WideListEntries(dialog).empty());
        CHECK(FolderNames(folder) == expectedFolder);
        for (std::size_t i = 0; i < stems.size(); ++i)
            CHECK(ReadFileBytes(folder + L"\\" + stems[i] + (i == 1 ? L".MP3" : L".mp3")) ==
                  FakeDecoderOutput());
        CHECK(AliasesInTemp() == aliasesBefore);

        SetEnvironmentVariableA("BRAMKOT_FAIL_ENCODER", "1");
        DropWideFiles(dialog, {inputs[2]});
        CHECK(ConvertAndWait(dialog));
        SetEnvironmentVariableA("BRAMKOT_FAIL_ENCODER", nullptr);
        CHECK(WideListEntries(dialog) == std::vector<std::string>({WideToUtf8(inputs[2])}));
        CHECK(FolderNames(folder) == expectedFolder);
        CHECK(ReadFileBytes(folder + L"\\" + stems[2] + L".mp3") == FakeDecoderOutput());
        CHECK(AliasesInTemp() == aliasesBefore);
    });
    // The tools saw only names the ANSI code page spells: the aliases.
    const std::string log = ReadFileBytes("tools.log");
    CHECK(log.find("bramkot alias") != std::string::npos);
    CHECK(log.find("\xE6\x9D\xB1") == std::string::npos);  // U+6771
}

namespace {

// The stand-in tools, the case's two arguments, made to take 1.5 s a file.
bool SlowToolsGiven() {
    SetEnvironmentVariableA("BRAMKOT_DELAY_DECODER_MS", "1500");
    return HasCaseArguments(2);
}

// "Convert Files" on `inputs` with the stand-in tools, one file at a time,
// each MP3 beside its input.
void ConvertOneAtATime(HWND dialog, const std::vector<std::string>& inputs) {
    SetControlText(dialog, IDC_MPPDEC_PATH, WindowsPath(CaseArguments()[0]));
    SetControlText(dialog, IDC_LAME_PATH, WindowsPath(CaseArguments()[1]));
    SetControlText(dialog, IDC_OUTPUT_DIR, "");
    SetControlText(dialog, IDC_FILES_AT_ONCE, "1");
    DropFiles(dialog, inputs);
    ClickButton(dialog, IDC_CONVERT);
}

bool ProcessRunning(const char* exeName) {
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more && !found;
         more = Process32Next(snapshot.Get(), &entry))
        found = lstrcmpiA(entry.szExeFile, exeName) == 0;
    return found;
}

// A click on an entry, as the mouse makes it; returns the status line then.
std::string ClickEntry(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    Sync(dialog);
    return ControlText(dialog, IDC_STATUS);
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* wide = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (wide != nullptr) {
        text = WideToUtf8(wide);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool RunIsOver(HWND dialog) {
    return WaitUntil(
        [&] {
            return WindowText(dialog) == "BRAMKOT" &&
                   ControlText(dialog, IDC_CONVERT) == "Convert Files";
        },
        30000);
}

}  // namespace

// With tools that take 1.5 s a file the window answers all through the run,
// shows its progress and takes the settings away from editing; "Stop" lets
// the file in work finish and leaves the rest listed. "End Now" ends a tool
// that never ends, every process of its pipeline. A wrong decoder path starts
// no run: a message names it and the list stays. A failing encoder keeps its
// files, and a click on one says why.
TEST_CASE(the_window_answers_during_a_run_stops_and_says_why,
          "the window answers during a run stops and says why") {
    if (!SlowToolsGiven())
        return;
    std::vector<std::string> inputs;
    for (const char* name : {"1.mpc", "2.mpc", "3.mpc", "4.mpc"}) {
        WriteFileBytes(name, "input");
        inputs.push_back(FullPath(name));
    }
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        ConvertOneAtATime(dialog, inputs);
        CHECK_EQ(ControlText(dialog, IDC_CONVERT), "Stop");
        CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_MPPDEC_PATH)));
        CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_CLEAR_LIST)));
        CHECK_EQ(WindowText(dialog), "0 of 4 - BRAMKOT");
        CHECK(ControlText(dialog, IDC_STATUS).find("1.mpc") != std::string::npos);
        int unanswered = 0;
        CHECK(WaitUntil(
            [&] {
                DWORD_PTR result = 0;
                // A guard against a hung window, not a bound on how fast it answers.
                if (!SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result))
                    ++unanswered;
                return ListEntries(dialog, IDC_FILE_LIST).size() == 3;
            },
            20000));
        CHECK_EQ(unanswered, 0);
        CHECK_EQ(WindowText(dialog), "1 of 4 - BRAMKOT");

        ClickButton(dialog, IDC_CONVERT);  // "Stop": 2.mpc, in work, finishes
        CHECK_EQ(ControlText(dialog, IDC_CONVERT), "End Now");
        CHECK(RunIsOver(dialog));
        CHECK(ListEntries(dialog, IDC_FILE_LIST) ==
              std::vector<std::string>({inputs[2], inputs[3]}));
        CHECK(ReadFileBytes("2.mp3") == FakeDecoderOutput());
        CHECK(!PathExists("3.mp3") && !PathExists("bramkot.bat"));
        CHECK(IsWindowEnabled(GetDlgItem(dialog, IDC_MPPDEC_PATH)));

        SetEnvironmentVariableA("BRAMKOT_DELAY_DECODER_MS", "600000");
        ClickButton(dialog, IDC_CONVERT);
        CHECK(WaitUntil([] { return ProcessRunning("fake_decoder.exe"); }));
        ClickButton(dialog, IDC_CONVERT);  // "Stop"
        ClickButton(dialog, IDC_CONVERT);  // "End Now"
        CHECK(RunIsOver(dialog));
        CHECK(!ProcessRunning("fake_decoder.exe") && !ProcessRunning("fake_encoder.exe"));
        CHECK_EQ(ListEntries(dialog, IDC_FILE_LIST).size(), 2);
        CHECK(!PathExists("3.mp3") && !PathExists("bramkot.bat"));
        CHECK_EQ(ClickEntry(dialog, 0), "3.mpc: ended by the user");

        SetEnvironmentVariableA("BRAMKOT_DELAY_DECODER_MS", nullptr);
        const std::string missing = FullPath("no such folder") + "\\mppdec.exe";
        SetControlText(dialog, IDC_MPPDEC_PATH, missing);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CONVERT)));
        HWND box = nullptr;
        CHECK(WaitUntil([&] { return (box = OwnedWindow(dialog)) != nullptr; }));
        const std::string message = ControlText(box, 0xFFFF);
        std::printf("a wrong decoder path: %s\n", message.c_str());
        CHECK(message.find("mppdec.exe location: " + missing + " is not there") !=
              std::string::npos);
        CHECK(message.find("lame.exe location") == std::string::npos);
        CHECK_EQ(WindowText(dialog), "BRAMKOT");
        CHECK(!PathExists("bramkot.bat"));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        CHECK(WaitUntil([&] { return !IsWindow(box); }));
        CHECK(ListEntries(dialog, IDC_FILE_LIST) ==
              std::vector<std::string>({inputs[2], inputs[3]}));
        CHECK(!PathExists("bramkot.bat") && !PathExists("3.mp3"));

        SetControlText(dialog, IDC_MPPDEC_PATH, WindowsPath(CaseArguments()[0]));
        SetEnvironmentVariableA("BRAMKOT_FAIL_ENCODER", "1");
        CHECK(ConvertAndWait(dialog));
        SetEnvironmentVariableA("BRAMKOT_FAIL_ENCODER", nullptr);
        CHECK_EQ(ListEntries(dialog, IDC_FILE_LIST).size(), 2);
        CHECK_EQ(ClickEntry(dialog, 1),
                 "4.mpc: the tools ended with status 3: encoder: failing, as "
                 "BRAMKOT_FAIL_ENCODER asks");
        RunOnDialogThread([&] {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80;
            SetKeyboardState(keys);
            SendMessageA(GetDlgItem(dialog, IDC_FILE_LIST), WM_KEYDOWN, 'C', 0);
            keys[VK_CONTROL] = 0;
            SetKeyboardState(keys);
        });
        const std::string copied = ClipboardText();
        CHECK(copied.find(inputs[3] + "\r\nWhy: the tools ended with status ") == 0);
        CHECK(copied.find("\r\nMP3: " + FullPath("4.mp3") + "\r\n") != std::string::npos);
        CHECK(copied.find("Batch line: \"" + WindowsPath(CaseArguments()[0])) != std::string::npos);
    });
}

namespace {

// The start of a Musepack stream of version 7 at 44.1 kHz, `frames` frames
// long (1,152 samples each), as far as the length reader looks.
std::string MusepackHeader(unsigned frames) {
    std::string header = "MP+\x17";
    for (int i = 0; i < 4; ++i)
        header += static_cast<char>(frames >> (8 * i) & 0xFF);
    return header + std::string(16, '\0') + "audio";
}

// An MP3 of about 44 s: 1,700 silent MPEG-1 layer III frames of 32 kbit/s at
// 44.1 kHz, longer than any of the streams below, so that each file passes
// the length check.
std::string LongMp3() {
    std::string frame(104, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x10';
    std::string mp3;
    for (int i = 0; i < 1700; ++i)
        mp3 += frame;
    return mp3;
}

int ProgressPosition(HWND dialog) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

}  // namespace

// Files of about 10, 42, 21 and 31 s of audio, 1.5 s of work each: the bar
// rises by their audio (to a tenth, a half, seven tenths; by their count it
// would be a quarter, a half, three quarters), the status line tells the time
// left, and the system is kept awake for the run alone. The failed file's
// whole story opens on a double-click and on Enter; Escape closes it.
TEST_CASE(a_run_shows_its_progress_and_a_failed_file_its_report,
          "a run shows its progress and a failed file its report") {
    if (!SlowToolsGiven())
        return;
    WriteFileBytes("long.mp3", LongMp3());
    SetEnvironmentVariableA("BRAMKOT_ENCODER_WRITES", FullPath("long.mp3").c_str());
    std::vector<std::string> inputs;
    const unsigned frames[] = {400, 1600, 800, 1200};
    for (int i = 0; i < 4; ++i) {
        const std::string name = std::to_string(i + 1) + ".mpc";
        WriteFileBytes(name.c_str(), MusepackHeader(frames[i]));
        inputs.push_back(FullPath(name.c_str()));
    }
    const auto executionState = [] {
        EXECUTION_STATE state = 0;
        RunOnDialogThread([&] { state = SetThreadExecutionState(0); });  // asks, changes nothing
        return state;
    };
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        ConvertOneAtATime(dialog, inputs);
        CHECK((executionState() & (ES_CONTINUOUS | ES_SYSTEM_REQUIRED)) ==
              (ES_CONTINUOUS | ES_SYSTEM_REQUIRED));
        std::vector<int> positions = {ProgressPosition(dialog)};
        std::string timeLeft;
        CHECK(WaitUntil(
            [&] {
                const int position = ProgressPosition(dialog);
                if (position != positions.back())
                    positions.push_back(position);
                const std::string status = ControlText(dialog, IDC_STATUS);
                if (status.find(" left. Converting ") != std::string::npos)
                    timeLeft = status;
                return WindowText(dialog) == "BRAMKOT";
            },
            30000));
        std::printf("the bar went through");
        for (int position : positions)
            std::printf(" %d", position);
        std::printf("; the status line read \"%s\"\n", timeLeft.c_str());
        CHECK(timeLeft.find("About ") == 0);
        CHECK(positions.size() >= 4);
        if (positions.size() >= 4) {
            CHECK(positions[0] == 0);
            CHECK(positions[1] >= 90 && positions[1] <= 110);
            CHECK(positions[2] >= 490 && positions[2] <= 510);
            CHECK(positions[3] >= 690 && positions[3] <= 710);
        }
        CHECK_EQ(ProgressPosition(dialog), 0);
        CHECK((executionState() & ES_SYSTEM_REQUIRED) == 0);
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());

        SetEnvironmentVariableA("BRAMKOT_DELAY_DECODER_MS", nullptr);
        SetEnvironmentVariableA("BRAMKOT_ENCODER_WRITES", nullptr);
        SetEnvironmentVariableA("BRAMKOT_FAIL_ENCODER", "1");
        DropFiles(dialog, {inputs[0]});
        CHECK(ConvertAndWait(dialog));
        SetEnvironmentVariableA("BRAMKOT_FAIL_ENCODER", nullptr);
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        RECT item = {};
        SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        for (int way = 0; way < 2; ++way) {  // the double-click, then Enter
            HWND report = WaitForDialog("Why 1.mpc did not convert", 10000);
            CHECK(report != nullptr);
            if (report == nullptr)
                return;
            const std::string text = ControlText(report, IDC_REPORT_TEXT);
            if (way == 0) {
                std::printf("the report:\n%s\n", text.c_str());
                CheckLayout(report);
            }
            const std::size_t printed = text.find("the tools printed (the last 8 KB):\r\n");
            CHECK(text.find(inputs[0] + "\r\n\r\nWhy: the tools ended with status ") == 0);
            CHECK(text.find("The line that ran:\r\n\"" + WindowsPath(CaseArguments()[0])) !=
                  std::string::npos);
            CHECK(printed != std::string::npos &&
                  text.find("encoder: failing, as", printed) != std::string::npos);
            PressKey(report, VK_ESCAPE);
            CHECK(WaitUntil([&] { return !IsWindow(report); }));
            CHECK(IsWindow(dialog));
            if (way == 0) {
                RunOnDialogThread([&] { SetFocus(list); });
                PressKey(dialog, VK_RETURN);
            }
        }
    });
}

// A folder dropped with a file beside it, with an output directory: the
// MP3 files make the dropped folder's tree there, so the two "01 Intro" of
// two albums both convert, and the file dropped by itself goes straight in.
// Dropped again with "Skip files whose MP3 is there", a file whose MP3 is
// newer keeps that MP3's bytes and leaves the list; the other converts.
TEST_CASE(dropped_tree_converts_into_the_same_tree_and_skips_what_is_done,
          "dropped tree converts into the same tree and skips what is done") {
    if (!HasCaseArguments(2))
        return;
    for (const char* folder :
         {"Music", "Music\\Artist", "Music\\Artist\\Album 1", "Music\\Artist\\Album 2", "out"})
        CreateDirectoryA(folder, nullptr);
    for (const char* file :
         {"Music\\Artist\\Album 1\\01 Intro.mpc", "Music\\Artist\\Album 2\\01 Intro.mpc",
          "Music\\Artist\\notes.txt", "loose.mpc"})
        WriteFileBytes(file, "input");
    const std::string artist = FullPath("Music\\Artist");
    const char* const album1 = "out\\Artist\\Album 1\\01 Intro.mp3";
    const char* const album2 = "out\\Artist\\Album 2\\01 Intro.mp3";
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        SetControlText(dialog, IDC_MPPDEC_PATH, WindowsPath(CaseArguments()[0]));
        SetControlText(dialog, IDC_LAME_PATH, WindowsPath(CaseArguments()[1]));
        SetControlText(dialog, IDC_OUTPUT_DIR, FullPath("out"));
        DropFiles(dialog, {artist, FullPath("loose.mpc")});
        CHECK(WaitUntil([&] { return ListEntries(dialog, IDC_FILE_LIST).size() == 3; }));
        CHECK(
            ListEntries(dialog, IDC_FILE_LIST) ==
            std::vector<std::string>({artist + "\\Album 1\\01 Intro.mpc",
                                      artist + "\\Album 2\\01 Intro.mpc", FullPath("loose.mpc")}));
        CHECK(ConvertAndWait(dialog));
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());
        CHECK(ReadFileBytes(album1) == FakeDecoderOutput());
        CHECK(ReadFileBytes(album2) == FakeDecoderOutput());
        CHECK(ReadFileBytes("out\\loose.mp3") == FakeDecoderOutput());
        CHECK(FolderNames(AnsiToWide(FullPath("out"))) ==
              std::vector<std::string>({"Artist", "loose.mp3"}));

        WriteFileBytes(album1, "a newer MP3");
        DeleteFileA(album2);
        ClickButton(dialog, IDC_SKIP_DONE);
        DropFiles(dialog, {artist});
        CHECK(WaitUntil([&] { return ListEntries(dialog, IDC_FILE_LIST).size() == 2; }));
        CHECK(ConvertAndWait(dialog));
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());
        CHECK_EQ(ReadFileBytes(album1), "a newer MP3");
        CHECK(ReadFileBytes(album2) == FakeDecoderOutput());
        CHECK_EQ(ControlText(dialog, IDC_STATUS),
                 "1 file converted; 1 skipped: their MP3 was there.");
    });
}
