#pragma once

#include "event.h"
#include "handle.h"

// The read end of a pipe a child process writes to, read without blocking:
// a read is always under way, and Ready() is set once it has bytes or the
// pipe has closed, so the reader can wait for the pipe together with other
// objects. (An anonymous pipe cannot be waited for; this one is a named
// pipe, as anonymous pipes are underneath.)
class OutputPipe {
public:
    ~OutputPipe();  // ends the read under way

    // Makes the pipe; `writeEnd` is the child's end, not inheritable yet.
    bool Make(Handle& writeEnd);

    bool Open() const { return static_cast<bool>(m_pipe); }
    HANDLE Ready() const { return m_ready.Get(); }
    // The count of bytes that have come, at `bytes` until the next call: 0
    // when nothing has yet or the pipe has closed. With `wait`, waits for
    // bytes or the close.
    DWORD Read(const char*& bytes, bool wait);

private:
    void StartRead();
    void Close();

    Handle m_pipe;
    Event m_ready;  // manual reset: the read's event
    OVERLAPPED m_overlapped = {};
    char m_chunk[4096];  // the read under way writes here
    char m_taken[4096];  // what the last Read gave
    bool m_pending = false;
};
