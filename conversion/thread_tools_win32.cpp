#include "critical_section.h"
#include "event.h"
#include "handle.h"
#include "signal_win32.h"

struct Signal::System {
    Event event;
};

Signal::Signal() : m_system(new System) {}
Signal::~Signal() = default;

bool Signal::Made() const {
    return m_system->event.Made();
}

void Signal::Raise() {
    m_system->event.Set();
}

void Signal::Lower() {
    m_system->event.Clear();
}

bool Signal::Raised() const {
    return m_system->event.IsSet();
}

bool Signal::Wait(unsigned milliseconds) const {
    return m_system->event.Wait(milliseconds);
}

HANDLE EventOf(const Signal& signal) {
    return signal.OfSystem().event.Get();
}

unsigned TickMilliseconds() {
    return GetTickCount();
}

struct Lock::System {
    CriticalSection section;
};

Lock::Lock() : m_system(new System) {}
Lock::~Lock() = default;

void Lock::Enter() {
    m_system->section.Enter();
}

void Lock::Leave() {
    m_system->section.Leave();
}

struct Thread::System {
    std::function<void()> work;
    Handle thread;

    static DWORD WINAPI Run(void* self) {
        static_cast<System*>(self)->work();
        return 0;
    }
};

Thread::Thread() : m_system(new System) {}

Thread::~Thread() {
    Join();
}

bool Thread::Start(std::function<void()> work) {
    m_system->work = std::move(work);
    m_system->thread.Reset(::CreateThread(nullptr, 0, &System::Run, m_system.get(), 0, nullptr));
    return static_cast<bool>(m_system->thread);
}

bool Thread::Finished() const {
    return !m_system->thread || WaitForSingleObject(m_system->thread.Get(), 0) == WAIT_OBJECT_0;
}

void Thread::Join() {
    if (m_system->thread) {
        ::WaitForSingleObject(m_system->thread.Get(), INFINITE);
        m_system->thread.Reset();
    }
}
