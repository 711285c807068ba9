#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "critical_section.h"
#include "event.h"
#include "handle.h"

// Reads the lengths of Musepack streams on a thread of its own, in the order
// they are asked for, so that the window's thread never waits for a file to
// open: a run of thousands of files starts at once and learns their lengths
// as they come in.
class StreamLengthReader {
public:
    struct Length {
        std::string path;  // UTF-8
        double seconds;    // 0 when it cannot be read
    };

    StreamLengthReader();
    // Stops after the file in hand and waits for the thread.
    ~StreamLengthReader();
    StreamLengthReader(const StreamLengthReader&) = delete;
    StreamLengthReader& operator=(const StreamLengthReader&) = delete;

    void Read(const std::vector<std::string>& paths);
    // The lengths read since the last call.
    std::vector<Length> TakeRead();

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Work();

    CriticalSection m_lock;
    Event m_wake{Event::Reset::Automatic};  // set when there is work or the end is asked
    Handle m_thread;
    std::vector<std::string> m_waiting;
    std::size_t m_nextWaiting = 0;
    std::vector<Length> m_read;
    bool m_ending = false;
};
