// The system menu's About entry and the About box.
#include <windows.h>

#include <string>

#include "converter_dlg.h"
#include "dialog_layout.h"
#include "gui_test.h"
#include "resource.h"

namespace {

// Opens the About box through the system menu's command (posted: the
// handler runs the box modally) and returns its window.
HWND OpenAbout(HWND dialog, WPARAM command = IDM_ABOUTBOX) {
    PostMessageA(dialog, WM_SYSCOMMAND, command, 0);
    return WaitForDialog("About BRAMKOT");
}

}  // namespace

TEST_CASE(system_menu_ends_with_the_about_entry, "system menu ends with the about entry") {
    CConverterDlg dlg;
    RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        HMENU menu = GetSystemMenu(dialog, FALSE);
        CHECK(menu != nullptr);
        const int count = GetMenuItemCount(menu);
        CHECK(count >= 2);
        CHECK((GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0);
        CHECK_EQ(GetMenuItemID(menu, count - 1), IDM_ABOUTBOX);
        char text[64] = {};
        GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        CHECK_EQ(text, "&About BRAMKOT...");
        // Only one entry, however the dialog runs.
        int abouts = 0;
        for (int i = 0; i < count; ++i)
            abouts += GetMenuItemID(menu, i) == IDM_ABOUTBOX;
        CHECK_EQ(abouts, 1);
    });
}

// Each way of closing the About box: OK clicked, Enter, Escape, the close box.
TEST_CASE(about_box_opens_modally_and_closes, "about box opens modally and closes") {
    CConverterDlg dlg;
    const INT_PTR result = RunDialog(dlg, "BRAMKOT", [](HWND dialog) {
        for (int way = 0; way < 4; ++way) {
            HWND about = OpenAbout(dialog, way == 3 ? IDM_ABOUTBOX | 0x3 : IDM_ABOUTBOX);
            CHECK(about != nullptr);
            if (about == nullptr)
                return;
            // Modal over the main dialog, which it belongs to.
            CHECK(GetWindow(about, GW_OWNER) == dialog);
            CHECK(!IsWindowEnabled(dialog));
            if (way == 0) {
                CHECK_EQ(ControlText(about, IDOK), "OK");
                CheckLayout(about);
                HWND icon = GetWindow(about, GW_CHILD);
                CHECK(SendMessageA(icon, STM_GETICON, 0, 0) != 0);
                std::string texts;
                HWND child = GetWindow(icon, GW_HWNDNEXT);
                for (; child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
                    texts += WindowText(child) + "|";
                CHECK_EQ(texts,
                         "BRAMKOT Version 0.9 beta 2|By the BRAMKOT developers|OK|"
                         "(Very crude at this point...will be improved :)|");
                ClickButton(about, IDOK);
            } else if (way == 1) {
                PressKey(about, VK_RETURN);
            } else if (way == 2) {
                PressKey(about, VK_ESCAPE);
            } else {
                PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            CHECK(WaitUntil([&] { return !IsWindow(about); }));
            Sync(dialog);
            CHECK(IsWindow(dialog));
            CHECK(IsWindowEnabled(dialog));
        }
        PressKey(dialog, VK_ESCAPE);
        CHECK(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    CHECK_EQ(result, IDCANCEL);
    CHECK(!PathExists("bramkot.ini"));
}
