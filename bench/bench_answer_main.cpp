// Runs the real main dialog in this process on slow stand-in tools and
// measures, from another thread, how long the window takes to answer a
// message while the run goes on.
//   Usage: bench_answer <decoder.exe> <encoder.exe> <files> <files at once>
// The decoder is the test stand-in; BRAMKOT_DELAY_DECODER_MS makes it slow.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_dialog.h"
#include "converter_dlg.h"
#include "handle.h"

namespace {

std::string g_decoder, g_encoder, g_filesAtOnce;
int g_files = 6;
std::vector<double> g_answers;  // milliseconds, one a probe
double g_runMilliseconds = 0;
LRESULT g_left = -1;

bool RunIsOn(HWND dialog) {
    char title[64] = {};
    GetWindowTextA(dialog, title, sizeof title);
    return std::strcmp(title, "BRAMKOT") != 0;
}

// Every 100 ms, as a watcher from outside would ask.
DWORD WINAPI Probe(void* parameter) {
    const HWND dialog = static_cast<HWND>(parameter);
    const double start = NowMilliseconds();
    for (;;) {
        DWORD_PTR result = 0;
        const double asked = NowMilliseconds();
        SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        g_answers.push_back(NowMilliseconds() - asked);
        if (!RunIsOn(dialog))
            break;
        Sleep(100);
    }
    g_runMilliseconds = NowMilliseconds() - start;
    g_left = SendDlgItemMessageA(dialog, IDC_FILE_LIST, LB_GETCOUNT, 0, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

void StartWhenShown(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_MPPDEC_PATH, g_decoder.c_str());
    SetDlgItemTextA(dialog, IDC_LAME_PATH, g_encoder.c_str());
    SetDlgItemTextA(dialog, IDC_FILES_AT_ONCE, g_filesAtOnce.c_str());
    std::vector<std::string> names;
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    for (int i = 1; i <= g_files; ++i) {
        const std::string name = std::string(folder) + "\\slow " + std::to_string(i) + ".mpc";
        // Not empty: a run starts no tools for an empty file.
        FILE* file = std::fopen(name.c_str(), "wb");
        if (file != nullptr) {
            std::fputs("MPCK", file);
            std::fclose(file);
        }
        names.push_back(name);
    }
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CONVERT)));
    const Handle probe(CreateThread(nullptr, 0, Probe, dialog, 0, nullptr));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: bench_answer <decoder.exe> <encoder.exe> <files> <files at once>\n");
        return 2;
    }
    g_decoder = argv[1];
    g_encoder = argv[2];
    g_files = std::atoi(argv[3]);
    g_filesAtOnce = argv[4];
    RunMainDialog(StartWhenShown);

    std::vector<double> sorted = g_answers;
    std::sort(sorted.begin(), sorted.end());
    const double longest = sorted.empty() ? -1 : sorted.back();
    const double median = sorted.empty() ? -1 : sorted[sorted.size() / 2];
    std::fprintf(stdout,
                 "  %d files, Files at once %s: run %.1f s; %zu messages asked, answered in "
                 "median %.1f ms, longest %.1f ms (aim: under 500 ms); %ld left listed\n",
                 g_files, g_filesAtOnce.c_str(), g_runMilliseconds / 1000, g_answers.size(), median,
                 longest, static_cast<long>(g_left));
    return g_left == 0 && longest >= 0 && longest < 500 ? 0 : 1;
}
