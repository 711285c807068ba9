// Drops one folder on the real main dialog in this process and measures,
// from another thread, how long until the list holds every Musepack file
// under it and the longest the window took meanwhile to answer a message.
//   Usage: bench_folder <folder> <files under it>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_dialog.h"
#include "converter_dlg.h"
#include "handle.h"

namespace {

std::string g_folder;
LRESULT g_expected = 0;
double g_dropped = 0;  // when the drop was handed over
double g_listedMilliseconds = -1;
double g_dropMilliseconds = -1;  // WM_DROPFILES handled
std::vector<double> g_answers;   // milliseconds, one a probe
LRESULT g_listed = -1;

// Every 20 ms until the list holds them all, or two minutes have passed.
DWORD WINAPI Probe(void* parameter) {
    const HWND dialog = static_cast<HWND>(parameter);
    for (;;) {
        DWORD_PTR result = 0;
        const double asked = NowMilliseconds();
        SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        g_answers.push_back(NowMilliseconds() - asked);
        SendMessageTimeoutA(GetDlgItem(dialog, IDC_FILE_LIST), LB_GETCOUNT, 0, 0, SMTO_NORMAL,
                            10000, &result);
        g_listed = static_cast<LRESULT>(result);
        if (g_listed >= g_expected) {
            g_listedMilliseconds = NowMilliseconds() - g_dropped;
            break;
        }
        if (NowMilliseconds() - g_dropped > 120000)
            break;
        Sleep(20);
    }
    // Escape ends a walk still on, then closes the window.
    while (IsWindow(dialog)) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        Sleep(50);
    }
    return 0;
}

void DropWhenShown(HWND dialog) {
    g_dropped = NowMilliseconds();
    const Handle probe(CreateThread(nullptr, 0, Probe, dialog, 0, nullptr));
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({g_folder})), 0);
    g_dropMilliseconds = NowMilliseconds() - g_dropped;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_folder <folder> <files under it>\n");
        return 2;
    }
    g_folder = argv[1];
    g_expected = std::atoi(argv[2]);
    RunMainDialog(DropWhenShown);

    const double longest =
        g_answers.empty() ? -1 : *std::max_element(g_answers.begin(), g_answers.end());
    std::fprintf(stdout,
                 "  %ld files: the drop handled in %.1f ms, all listed after %.1f ms (aim: "
                 "under 1 s); %zu messages asked every 20 ms meanwhile, longest answer %.1f ms "
                 "(aim: under 100 ms); %ld listed\n",
                 static_cast<long>(g_expected), g_dropMilliseconds, g_listedMilliseconds,
                 g_answers.size(), longest, static_cast<long>(g_listed));
    return g_listed == g_expected ? 0 : 1;
}
