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

// `slack` pixels over the edge still count as inside.
bool Inside(const RECT& inner, const RECT& outer, int slack = 0) {
    return inner.left >= outer.left - slack && inner.top >= outer.top - slack &&
           inner.right <= outer.right + slack && inner.bottom <= outer.bottom + slack;
}

// A group box frames the controls inside it. A group box in another may
// share its edge, which the dialog manager, rounding each control's place
// and size on its own, may put a pixel apart.
bool Frames(const Control& frame, const Control& other) {
    return frame.groupBox && Inside(other.place, frame.place, other.groupBox ? 1 : 0);
}

std::string Named(const Control& control) {
    const RECT& r = control.place;
    return std::to_string(GetDlgCtrlID(control.window)) + " \"" + WindowText(control.window) +
           "\" (" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
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
            CHECK_WHY(Frames(a, b) || Frames(b, a) || !IntersectRect(&common, &a.place, &b.place),
                      Named(a) + " overlaps " + Named(b));
        }
    }
}
