// Shell drops onto the main dialog and the list buttons.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "converter_dlg.h"
#include "gui_test.h"
#include "resource.h"

namespace {

typedef std::vector<std::string> Names;

// A full path of exactly `length` characters that ends in ".mpc", made of
// folder names of at most 200 characters (the shell allows longer paths
// with long path components; the names need not exist).
std::string PathOfLength(std::size_t length) {
    std::string path = "C:\\";
    while (path.size() + 4 < length) {
        const std::size_t room = length - 4 - path.size();
        if (room > 201) {
            path += std::string(200, 'd') + "\\";
        } else {
            path += std::string(room, 'n');
        }
    }
    return path + ".mpc";
}

// The drop read in one pass answers as DragQueryFileW does for every index,
// in the buffer the dialog uses, and past the last name.
void CheckSameAsDragQueryFile(HDROP drop, UINT expectedCount) {
    const CDropFiles files(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    CHECK_EQ(count, expectedCount);
    CHECK_EQ(files.GetCount(), count);
    for (UINT i = 0; i <= count; ++i) {
        wchar_t expected[501], actual[501];
        std::wmemset(expected, L'Z', 501);
        std::wmemset(actual, L'Z', 501);
        const UINT expectedLength = DragQueryFileW(drop, i, expected, 501);
        CHECK_EQ(files.QueryFile(i, actual, 501), expectedLength);
        CHECK_EQ(WideToUtf8(std::wstring(actual, wcsnlen(actual, 501))),
                 WideToUtf8(std::wstring(expected, wcsnlen(expected, 501))));
    }
    GlobalFree(drop);
}

// DragFinish released the drop: its memory is gone.
bool Released(HDROP drop) {
    return GlobalSize(drop) == 0;
}

}  // namespace

TEST_CASE(drop_filter_order_duplicates_and_clear_list,
          "drop filter order duplicates and clear list") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        HDROP drop = DropFiles(dialog, {"C:\\m\\a.mpc", "C:\\m\\b.MP+", "C:\\m\\c.Mpp",
                                        "C:\\m\\d.mp3", "C:\\m\\e.mpc.txt"});
        CHECK(Released(drop));
        CHECK(ListEntries(dialog, IDC_FILE_LIST) ==
              Names({"C:\\m\\a.mpc", "C:\\m\\b.MP+", "C:\\m\\c.Mpp"}));

        // The same file again is listed again, at the end.
        DropFiles(dialog, {"C:\\m\\a.mpc"});
        CHECK(ListEntries(dialog, IDC_FILE_LIST) ==
              Names({"C:\\m\\a.mpc", "C:\\m\\b.MP+", "C:\\m\\c.Mpp", "C:\\m\\a.mpc"}));

        // A drop without any accepted name changes nothing and is released.
        drop = DropFiles(dialog, {"C:\\m\\song.wav", "C:\\m\\.mp", "C:\\m\\x.mpc "});
        CHECK(Released(drop));
        CHECK_EQ(ListEntries(dialog, IDC_FILE_LIST).size(), 4);

        ClickButton(dialog, IDC_CLEAR_LIST);
        CHECK(ListEntries(dialog, IDC_FILE_LIST).empty());
        // The list takes drops again afterwards.
        DropFiles(dialog, {".mpc", "mpc"});
        CHECK(ListEntries(dialog, IDC_FILE_LIST) == Names({".mpc"}));
    });
}

namespace {

// What the list box tells the dialog when the user changes the selection.
void SelectEntries(HWND dialog, const std::vector<int>& indices) {
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
    for (int index : indices)
        SendMessageA(list, LB_SETSEL, TRUE, index);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

}  // namespace

// "Clear Selected" is greyed until entries are selected; pressed, or Delete
// in the list, it removes every selected entry, of thousands too.
TEST_CASE(clear_selected_and_delete_remove_the_selection,
          "clear selected and delete remove the selection") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        HWND button = GetDlgItem(dialog, IDC_CLEAR_SELECTED);
        DropFiles(dialog, {"C:\\0.mpc", "C:\\1.mpc", "C:\\2.mpc", "C:\\3.mpc", "C:\\4.mpc"});
        CHECK(!IsWindowEnabled(button));
        SelectEntries(dialog, {1, 3});
        CHECK(IsWindowEnabled(button));
        ClickButton(dialog, IDC_CLEAR_SELECTED);
        CHECK(ListEntries(dialog, IDC_FILE_LIST) == Names({"C:\\0.mpc", "C:\\2.mpc", "C:\\4.mpc"}));
        CHECK(!IsWindowEnabled(button));

        ClickButton(dialog, IDC_CLEAR_LIST);
        Names many;
        for (int i = 0; i < 1500; ++i)
            many.push_back("C:\\many\\" + std::to_string(i) + ".mpc");
        DropFiles(dialog, many);
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        SendMessageA(list, LB_SETSEL, TRUE, -1);  // all
        SelectEntries(dialog, {});
        SendMessageA(list, LB_SETSEL, FALSE, 700);
        RunOnDialogThread([&] { SetFocus(list); });
        PressKey(dialog, VK_DELETE);
        CHECK(ListEntries(dialog, IDC_FILE_LIST) == Names({"C:\\many\\700.mpc"}));
    });
}

// Names up to 499 characters are listed whole; longer ones would arrive
// cut to 499 and could name another file, so they are left out.
TEST_CASE(long_names_are_listed_whole_or_not_at_all, "long names are listed whole or not at all") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        const std::string n259 = PathOfLength(259), n260 = PathOfLength(260),
                          n499 = PathOfLength(499);
        const std::string n500 = PathOfLength(500), n501 = PathOfLength(501),
                          n2000 = PathOfLength(2000);
        CHECK_EQ(n259.size(), 259);
        CHECK_EQ(n499.size(), 499);
        CHECK_EQ(n500.size(), 500);
        // A name whose first 499 characters end in ".mpc" too: cut, it would pass the filter.
        const std::string cutLooksRight = n499 + "x.mpc";
        HDROP drop = DropFiles(dialog, {n500, n259, cutLooksRight, n260, n2000, n499, n501});
        CHECK(Released(drop));
        CHECK(ListEntries(dialog, IDC_FILE_LIST) == Names({n259, n260, n499}));
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        CHECK_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), 499);
        CHECK_EQ(ControlText(dialog, IDC_STATUS),
                 "4 dropped names were not listed: longer than 499 characters");
    });
}

// Names with accents, with characters the ANSI code page lacks, and of 499,
// 500 and more characters, from ANSI and wide blocks; an empty block; and a
// block that ends inside a name, of which only the whole names count.
TEST_CASE(drop_read_in_one_pass_gives_the_names_drag_query_file_gives,
          "drop read in one pass gives the names drag query file gives") {
    std::string ansi;
    for (const std::string& name :
         {std::string("C:\\Musik\\Bj\xF6rk \x96 J\xF3ga.mpc"), std::string("C:\\\x80 \x91\x92.MPP"),
          PathOfLength(499), PathOfLength(500), PathOfLength(501)})
        ansi += name + '\0';
    CheckSameAsDragQueryFile(DropBlock(ansi.c_str(), ansi.size() + 1, FALSE), 5);

    std::wstring wide;
    for (const std::wstring& name :
         {std::wstring(L"C:\\Musik\\Bj\x00F6rk \x2013 J\x00F3ga.mpc"),
          std::wstring(L"C:\\\x20AC\x2019.mpp"),
          std::wstring(L"C:\\\x0100\x0141\x0394 \x65E5\x672C \xD83C\xDFB5 \xD800.mpc"),
          L"C:\\" + std::wstring(492, L'\x65E5') + L".mpc",  // 499 characters
          L"C:\\" + std::wstring(493, L'\x00E9') + L".mpc",
          L"C:\\" + std::wstring(494, L'\x00E9') + L".mpc"})
        wide += name + L'\0';
    CheckSameAsDragQueryFile(DropBlock(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t), TRUE), 6);

    CheckSameAsDragQueryFile(DropBlock("\0", 2, FALSE), 1);
    CheckSameAsDragQueryFile(DropBlock(L"\0", 2 * sizeof(wchar_t), TRUE), 1);

    HDROP cut = DropBlock("C:\\a.mpc\0C:\\b.mp", 16, FALSE);
    const CDropFiles files(cut);
    CHECK_EQ(files.GetCount(), 1);
    wchar_t name[501];
    CHECK_EQ(files.QueryFile(0, name, 501), 8);
    CHECK_EQ(WideToUtf8(name), "C:\\a.mpc");
    GlobalFree(cut);
}

// A dropped folder lists the Musepack files under it in Explorer's order,
// each folder's files before its subfolders, in the drop's place among
// dropped files; hidden and system names are left out, and a folder named
// like a Musepack file is opened.
TEST_CASE(dropped_folders_list_their_files_in_explorer_order,
          "dropped folders list their files in explorer order") {
    for (const char* folder :
         {"Music", "Music\\Artist", "Music\\Artist\\10 Album", "Music\\Artist\\2 Album",
          "Music\\Artist\\Hidden", "Music\\Artist\\Live.mpc", "empty"})
        CreateDirectoryA(folder, nullptr);
    for (const char* file :
         {"Music\\Artist\\10 Song.mpc", "Music\\Artist\\2 song.MPC", "Music\\Artist\\cover.jpg",
          "Music\\Artist\\system.mpc", "Music\\Artist\\10 Album\\1.mp+",
          "Music\\Artist\\2 Album\\01 Intro.mpc", "Music\\Artist\\Hidden\\x.mpc",
          "Music\\Artist\\Live.mpc\\a.mpp", "single.mpc"})
        WriteFileBytes(file, "x");
    SetFileAttributesA("Music\\Artist\\Hidden", FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA("Music\\Artist\\system.mpc", FILE_ATTRIBUTE_SYSTEM);
    const std::string artist = FullPath("Music\\Artist"), single = FullPath("single.mpc");
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        DropFiles(dialog, {single, FullPath("empty"), artist, single});
        const Names expected = {single,
                                artist + "\\2 song.MPC",
                                artist + "\\10 Song.mpc",
                                artist + "\\2 Album\\01 Intro.mpc",
                                artist + "\\10 Album\\1.mp+",
                                artist + "\\Live.mpc\\a.mpp",
                                single};
        CHECK(WaitUntil([&] {
            return ControlText(dialog, IDC_STATUS).find("Adding files") == std::string::npos;
        }));
        CHECK(ListEntries(dialog, IDC_FILE_LIST) == expected);
    });
}

TEST_CASE(ten_thousand_names_in_one_drop, "ten thousand names in one drop") {
    Names names;
    for (int i = 0; i < 10000; ++i)
        names.push_back("C:\\Music\\Album " + std::to_string(i / 100) + "\\Track " +
                        std::to_string(i) +
                        (i % 3 == 0   ? ".mpc"
                         : i % 3 == 1 ? ".MPP"
                                      : ".mp+"));
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [&](HWND dialog) {
        DWORD start = GetTickCount();
        HDROP drop = DropFiles(dialog, names);
        std::printf("drop of 10000 names: %lu ms\n", GetTickCount() - start);
        CHECK(Released(drop));
        start = GetTickCount();
        const Names listed = ListEntries(dialog, IDC_FILE_LIST);
        std::printf("reading them back: %lu ms\n", GetTickCount() - start);
        CHECK_EQ(listed.size(), 10000);
        CHECK(listed == names);
        if (listed.size() == 10000) {
            CHECK_EQ(listed[0], "C:\\Music\\Album 0\\Track 0.mpc");
            CHECK_EQ(listed[4321], "C:\\Music\\Album 43\\Track 4321.MPP");
            CHECK_EQ(listed[9999], "C:\\Music\\Album 99\\Track 9999.mpc");
        }
    });
}
