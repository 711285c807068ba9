#include "taskbar_progress.h"

#include <objbase.h>
#include <shobjidl.h>

TaskbarProgress::TaskbarProgress(HWND window) : m_window(window) {
    // Fails with RPC_E_CHANGED_MODE where the thread already has COM in
    // another mode; the taskbar is still there then.
    m_comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void* taskbar = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_ITaskbarList3, &taskbar))) {
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
        ::CoUninitialize();
}

void TaskbarProgress::Show(double fraction, bool failed) {
    if (m_taskbar == nullptr)
        return;
    const ULONGLONG kSteps = 1000;
    m_taskbar->SetProgressValue(m_window, static_cast<ULONGLONG>(fraction * kSteps), kSteps);
    m_taskbar->SetProgressState(m_window, failed ? TBPF_ERROR : TBPF_NORMAL);
}
