#pragma once

#include <windows.h>

// While it lives, the system does not go to sleep on its own; the display
// may still turn off. Made and ended on the same thread: the state belongs
// to the thread that set it.
class KeepSystemAwake {
public:
    KeepSystemAwake() { ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }
    ~KeepSystemAwake() { ::SetThreadExecutionState(ES_CONTINUOUS); }
    KeepSystemAwake(const KeepSystemAwake&) = delete;
    KeepSystemAwake& operator=(const KeepSystemAwake&) = delete;
};
