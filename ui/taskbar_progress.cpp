#include "taskbar_progress.h"

#include <objbase.h>
#include <shobjidl.h>

#include "system_function.h"

namespace {

// Spelled here rather than taken from libuuid, whose one object file holds
// every GUID of the SDK: 35 KB of a program that needs two.
const CLSID kTaskbarList = {
    0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
const IID kTaskbarList3 = {
    0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

// COM comes with the first run, not with the window.
using InitializeCom = HRESULT(WINAPI*)(LPVOID, DWORD);
using CreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using UninitializeCom = void(WINAPI*)();

}  // namespace

TaskbarProgress::TaskbarProgress(HWND window) : m_window(window) {
    // Fails with RPC_E_CHANGED_MODE where the thread already has COM in
    // another mode; the taskbar is still there then.
    const auto initialize = SystemFunction<InitializeCom>(L"ole32.dll", "CoInitializeEx");
    const auto create = SystemFunction<CreateInstance>(L"ole32.dll", "CoCreateInstance");
    m_comStarted =
        initialize != nullptr && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* taskbar = nullptr;
    if (create != nullptr &&
        SUCCEEDED(create(kTaskbarList, nullptr, CLSCTX_INPROC_SERVER, kTaskbarList3, &taskbar))) {
        m_taskbar = static_cast<ITaskbarList3*>(taskbar);
        if (FAILED(m_taskbar->HrInit())) {
            m_taskbar->Release();
            m_taskbar = nullptr;
        }
    }
}

TaskbarProgress::~TaskbarProgress() {
    if (m_taskbar != nullptr) {
        m_taskbar->SetProgressState(m_window, TBPF_NOPROGRESS);
        m_taskbar->Release();
    }
    if (m_comStarted)
        SystemFunction<UninitializeCom>(L"ole32.dll", "CoUninitialize")();
}

void TaskbarProgress::Show(double fraction, bool failed) {
    if (m_taskbar == nullptr)
        return;
    const ULONGLONG kSteps = 1000;
    m_taskbar->SetProgressValue(m_window, static_cast<ULONGLONG>(fraction * kSteps), kSteps);
    m_taskbar->SetProgressState(m_window, failed ? TBPF_ERROR : TBPF_NORMAL);
}
