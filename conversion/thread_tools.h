#pragma once

#include <functional>
#include <memory>

// The few threading tools the runner and the path locks need, made by each
// system (the Windows build's C++ runtime has no std::thread or std::mutex).
// None of them can be copied: each owns its system object.

// A flag one thread raises and others wait for; it stays raised until lowered.
class Signal {
public:
    Signal();
    ~Signal();

    // False when the system could not make it.
    bool Made() const;
    void Raise();
    void Lower();
    bool Raised() const;
    // Waits until it is raised, or `milliseconds` at most; true when raised.
    bool Wait(unsigned milliseconds) const;

    struct System;
    System& OfSystem() const { return *m_system; }

private:
    std::unique_ptr<System> m_system;
};

inline constexpr unsigned kWaitForever = 0xFFFFFFFFu;

// Milliseconds from some moment, for timing waits: it wraps around, so only
// the difference of two readings counts. (std::chrono's clocks would bring
// much of the C runtime's time zone code into the Windows program.)
unsigned TickMilliseconds();

// A lock that one thread at a time holds, through a LockHold.
class Lock {
public:
    Lock();
    ~Lock();
    void Enter();
    void Leave();

    struct System;

private:
    std::unique_ptr<System> m_system;
};

class LockHold {
public:
    explicit LockHold(Lock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~LockHold() { m_lock.Leave(); }
    LockHold(const LockHold&) = delete;
    LockHold& operator=(const LockHold&) = delete;

private:
    Lock& m_lock;
};

// A thread that runs one function; joined at the latest by its destructor.
class Thread {
public:
    Thread();
    ~Thread();

    // False when the system could not start it.
    bool Start(std::function<void()> work);
    void Join();
    // True once its function has returned (or it never started): Join then
    // waits for no more than the thread's exit.
    bool Finished() const;

    struct System;

private:
    std::unique_ptr<System> m_system;
};
