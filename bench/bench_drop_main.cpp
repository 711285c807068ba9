// Drops many names on the real main dialog in this process and times how
// long until the list holds them all.   Usage: bench_drop [count]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_dialog.h"

namespace {

int g_count = 10000;
std::string g_lastName;
double g_sendMilliseconds = -1;
double g_paintedMilliseconds = -1;
LRESULT g_listed = -1;
bool g_lastMatches = false;

std::vector<std::string> ManyNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        static const char* const kEndings[] = {".mpc", ".MPC", ".mp+", ".Mpp"};
        char name[160];
        std::snprintf(name, sizeof name, "D:\\Music\\Artist %03d\\Album %02d\\%05d - Track title%s",
                      i / 100, (i / 10) % 10, i, kEndings[i % 4]);
        names.push_back(name);
    }
    return names;
}

void DropWhenShown(HWND dialog) {
    const std::vector<std::string> names = ManyNames(g_count);
    g_lastName = names.empty() ? std::string() : names.back();
    HDROP drop = MakeDrop(names);
    const double start = NowMilliseconds();
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    g_sendMilliseconds = NowMilliseconds() - start;
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    g_paintedMilliseconds = NowMilliseconds() - start;

    g_listed = SendDlgItemMessageA(dialog, 1000, LB_GETCOUNT, 0, 0);
    char last[600] = {};
    if (g_listed > 0 && SendDlgItemMessageA(dialog, 1000, LB_GETTEXTLEN, g_listed - 1, 0) < 600)
        SendDlgItemMessageA(dialog, 1000, LB_GETTEXT, g_listed - 1, reinterpret_cast<LPARAM>(last));
    g_lastMatches = g_lastName == last;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        g_count = std::atoi(argv[1]);
    RunMainDialog(DropWhenShown);

    std::fprintf(stdout, "drop of %d names on the main dialog (aim at 20,000: listed in 300 ms):\n",
                 g_count);
    std::fprintf(stdout, "  WM_DROPFILES handled (list filled):   %8.1f ms\n", g_sendMilliseconds);
    std::fprintf(stdout, "  and the dialog repainted:             %8.1f ms\n",
                 g_paintedMilliseconds);
    std::fprintf(stdout, "  the list holds %ld entries, last one %s\n", static_cast<long>(g_listed),
                 g_lastMatches ? "as dropped" : "NOT as dropped");
    return g_listed == g_count && g_lastMatches ? 0 : 1;
}
