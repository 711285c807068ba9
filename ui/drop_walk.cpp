#include "drop_walk.h"

#include <algorithm>

#include "critical_section.h"

DropWalk::DropWalk(HWND window, std::vector<std::string> dropped)
    : m_window(window), m_dropped(std::move(dropped)) {
    m_thread.Reset(CreateThread(nullptr, 0, &DropWalk::Run, this, 0, nullptr));
    if (!m_thread) {
        const CriticalSectionLock locked(m_lock);
        m_over = true;
        PostOnce();
    }
}

DropWalk::~DropWalk() {
    EndAndWait();
}

void DropWalk::End() {
    m_stop = true;
}

void DropWalk::EndAndWait() {
    End();
    if (m_thread)
        WaitForSingleObject(m_thread.Get(), INFINITE);
}

DWORD WINAPI DropWalk::Run(void* self) {
    DropWalk& walk = *static_cast<DropWalk*>(self);
    int tooLong = 0;
    WalkDrop(
        walk.m_dropped, walk.m_stop, [&walk](FoundFile&& file) { walk.Add(std::move(file)); },
        tooLong);
    const CriticalSectionLock locked(walk.m_lock);
    walk.m_tooLong = tooLong;
    walk.m_over = true;
    walk.PostOnce();
    return 0;
}

void DropWalk::Add(FoundFile&& file) {
    const CriticalSectionLock locked(m_lock);
    m_waiting.push_back(std::move(file));
    ++m_found;
    PostOnce();
}

// One message at a time: the window takes all that waits when it comes.
void DropWalk::PostOnce() {
    if (!m_posted)
        m_posted = PostMessageA(m_window, WM_DROP_WALK, 0, 0) != 0;
}

bool DropWalk::Take(std::vector<FoundFile>& files, std::size_t most) {
    const CriticalSectionLock locked(m_lock);
    const std::size_t count = std::min(most, m_waiting.size() - m_firstWaiting);
    for (std::size_t i = 0; i < count; ++i)
        files.push_back(std::move(m_waiting[m_firstWaiting + i]));
    m_firstWaiting += count;
    if (m_firstWaiting == m_waiting.size()) {
        m_waiting.clear();
        m_firstWaiting = 0;
    }
    m_posted = false;
    if (!m_waiting.empty())
        PostOnce();  // the rest in the next turn, so the window answers meanwhile
    return !(m_over && m_waiting.empty());
}

int DropWalk::Found() const {
    const CriticalSectionLock locked(m_lock);
    return m_found;
}

int DropWalk::TooLong() const {
    const CriticalSectionLock locked(m_lock);
    return m_tooLong;
}
