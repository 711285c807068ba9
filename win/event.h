#pragma once

#include "handle.h"

// An event object: one thread sets it, others wait for it. A manual-reset
// event stays set until reset; an automatic one wakes one waiter and resets.
class Event {
public:
    enum class Reset { Manual, Automatic };

    explicit Event(Reset reset = Reset::Manual)
        : m_handle(::CreateEventW(nullptr, reset == Reset::Manual, FALSE, nullptr)) {}

    // False when the system could not make it (GetLastError says why).
    bool Made() const { return static_cast<bool>(m_handle); }
    HANDLE Get() const { return m_handle.Get(); }

    void Set() { ::SetEvent(m_handle.Get()); }
    void Clear() { ::ResetEvent(m_handle.Get()); }
    bool IsSet() const { return Wait(0); }
    // True when it is set within `milliseconds` (INFINITE: however long it takes).
    bool Wait(DWORD milliseconds) const {
        return ::WaitForSingleObject(m_handle.Get(), milliseconds) == WAIT_OBJECT_0;
    }

private:
    Handle m_handle;
};
