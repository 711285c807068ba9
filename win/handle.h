#pragma once

#include <windows.h>

// Owns one kernel object's handle and closes it once. Null and
// INVALID_HANDLE_VALUE (what CreateFile and CreateToolhelp32Snapshot give on
// failure) both mean "nothing", so a failed call can be owned as it is.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(Owned(handle)) {}
    ~Handle() { Reset(); }
    Handle(Handle&& other) noexcept : m_handle(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Gives the handle up without closing it.
    HANDLE Release() {
        const HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr) {
        if (m_handle != nullptr)
            ::CloseHandle(m_handle);
        m_handle = Owned(handle);
    }

private:
    static HANDLE Owned(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

    HANDLE m_handle = nullptr;
};
