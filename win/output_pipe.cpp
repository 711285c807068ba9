#include "output_pipe.h"

#include <cstring>
#include <cwchar>
#include <initializer_list>

OutputPipe::~OutputPipe() {
    Close();
}

bool OutputPipe::Make(Handle& writeEnd) {
    // Unique on the machine: this process's id and a count of its pipes.
    static LONG made = 0;
    wchar_t name[64] = L"\\\\.\\pipe\\bramkot-output";
    std::size_t length = std::wcslen(name);
    for (DWORD number : {GetCurrentProcessId(), static_cast<DWORD>(InterlockedIncrement(&made))}) {
        name[length++] = L'-';
        for (int shift = 28; shift >= 0; shift -= 4)
            name[length++] = L"0123456789abcdef"[number >> shift & 15];
    }
    name[length] = L'\0';
    m_pipe.Reset(CreateNamedPipeW(
        name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 64 * 1024, 0, nullptr));
    if (!m_pipe || !m_ready.Made())
        return false;
    writeEnd.Reset(CreateFileW(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writeEnd) {
        const DWORD error = GetLastError();
        m_pipe.Reset();
        SetLastError(error);
        return false;
    }
    StartRead();
    return true;
}

void OutputPipe::StartRead() {
    std::memset(&m_overlapped, 0, sizeof m_overlapped);
    m_overlapped.hEvent = m_ready.Get();
    m_ready.Clear();
    m_pending = ReadFile(m_pipe.Get(), m_chunk, sizeof m_chunk, nullptr, &m_overlapped) ||
                GetLastError() == ERROR_IO_PENDING;
    if (!m_pending)
        Close();  // every writer has closed it
}

DWORD OutputPipe::Read(const char*& bytes, bool wait) {
    while (m_pending) {
        DWORD got = 0;
        if (!GetOverlappedResult(m_pipe.Get(), &m_overlapped, &got, wait)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE)
                return 0;
            m_pending = false;
            Close();
            return 0;
        }
        // The bytes move to the other half, so the next read can go on.
        std::memcpy(m_taken, m_chunk, got);
        StartRead();
        if (got > 0) {
            bytes = m_taken;
            return got;
        }
    }
    return 0;
}

void OutputPipe::Close() {
    if (m_pending) {
        CancelIo(m_pipe.Get());
        DWORD got = 0;
        GetOverlappedResult(m_pipe.Get(), &m_overlapped, &got, TRUE);
        m_pending = false;
    }
    m_pipe.Reset();
    m_ready.Set();  // nothing more will come
}
