#include "stream_length_reader.h"

#include <cstdio>

#include "audio_length.h"
#include "byte_source.h"
#include "file_system.h"

namespace {

double MusepackSeconds(const std::string& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr)
        return 0;
    StdioByteSource source(file);
    AudioLength length;
    const bool read = ReadMusepackLength(source, length);
    std::fclose(file);
    return read ? length.Seconds() : 0;
}

}  // namespace

StreamLengthReader::StreamLengthReader() {
    m_thread.Reset(::CreateThread(nullptr, 0, &StreamLengthReader::ThreadMain, this, 0, nullptr));
}

StreamLengthReader::~StreamLengthReader() {
    {
        const CriticalSectionLock lock(m_lock);
        m_ending = true;
    }
    m_wake.Set();
    if (m_thread)
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
}

void StreamLengthReader::Read(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    {
        const CriticalSectionLock lock(m_lock);
        m_waiting.insert(m_waiting.end(), paths.begin(), paths.end());
    }
    m_wake.Set();
}

std::vector<StreamLengthReader::Length> StreamLengthReader::TakeRead() {
    std::vector<Length> read;
    const CriticalSectionLock lock(m_lock);
    read.swap(m_read);
    return read;
}

DWORD WINAPI StreamLengthReader::ThreadMain(void* self) {
    static_cast<StreamLengthReader*>(self)->Work();
    return 0;
}

void StreamLengthReader::Work() {
    for (;;) {
        std::string path;
        bool waiting = false;
        {
            const CriticalSectionLock lock(m_lock);
            if (m_ending)
                return;
            waiting = m_nextWaiting < m_waiting.size();
            if (waiting) {
                path.swap(m_waiting[m_nextWaiting++]);
            } else {
                m_waiting.clear();
                m_nextWaiting = 0;
            }
        }
        if (!waiting) {
            m_wake.Wait(INFINITE);
            continue;
        }
        const double seconds = MusepackSeconds(path);
        const CriticalSectionLock lock(m_lock);
        m_read.push_back({path, seconds});
    }
}
