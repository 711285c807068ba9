#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "thread_tools.h"

struct Signal::System {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    bool raised = false;
};

Signal::Signal() : m_system(new System) {}
Signal::~Signal() = default;

bool Signal::Made() const {
    return true;
}

void Signal::Raise() {
    {
        const std::lock_guard<std::mutex> lock(m_system->mutex);
        m_system->raised = true;
    }
    m_system->changed.notify_all();
}

void Signal::Lower() {
    const std::lock_guard<std::mutex> lock(m_system->mutex);
    m_system->raised = false;
}

bool Signal::Raised() const {
    const std::lock_guard<std::mutex> lock(m_system->mutex);
    return m_system->raised;
}

bool Signal::Wait(unsigned milliseconds) const {
    std::unique_lock<std::mutex> lock(m_system->mutex);
    const auto raised = [this] { return m_system->raised; };
    if (milliseconds == kWaitForever) {
        m_system->changed.wait(lock, raised);
        return true;
    }
    return m_system->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), raised);
}

unsigned TickMilliseconds() {
    return static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

struct Lock::System {
    std::mutex mutex;
};

Lock::Lock() : m_system(new System) {}
Lock::~Lock() = default;

void Lock::Enter() {
    m_system->mutex.lock();
}

void Lock::Leave() {
    m_system->mutex.unlock();
}

struct Thread::System {
    std::thread thread;
    std::atomic<bool> finished{true};
};

Thread::Thread() : m_system(new System) {}

Thread::~Thread() {
    Join();
}

bool Thread::Start(std::function<void()> work) {
    m_system->finished = false;
    m_system->thread = std::thread([this, work = std::move(work)] {
        work();
        m_system->finished = true;
    });
    return true;
}

bool Thread::Finished() const {
    return m_system->finished;
}

void Thread::Join() {
    if (m_system->thread.joinable())
        m_system->thread.join();
}
