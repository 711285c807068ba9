#include "dialog_layout.h"

#include <string>
#include <vector>

#include "gui_test.h"

namespace {

struct Control {
    HWND window;
    RECT place;  // in the dialog's client coordinates
    bool groupBox;
};

std::vector<Control> Controls(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        Control control = {child, {}, false};
        GetWindowRect(child, &control.place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.place), 2);
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        control.groupBox = lstrcmpiA(name, "Button") == 0 &&
                           (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        controls.push_back(control);
    }
    return controls;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Named(const Control& control) {
    return std::to_string(GetDlgCtrlID(control.window)) + " \"" + WindowText(control.window) + "\"";
}

}  // namespace

void CheckLayout(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    const std::vector<Control> controls = Controls(dialog);
    CHECK(controls.size() >= 2);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& a = controls[i];
        CHECK_WHY(Inside(a.place, client), "outside the dialog: " + Named(a));
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const Control& b = controls[j];
            RECT common;
            const bool framed = (a.groupBox && Inside(b.place, a.place)) ||
                                (b.groupBox && Inside(a.place, b.place));
            CHECK_WHY(framed || !IntersectRect(&common, &a.place, &b.place),
                      Named(a) + " overlaps " + Named(b));
        }
    }
}
