#include "file.h"

Handle OpenFileNotInherited(const wchar_t* path, FileAccess access) {
    const bool read = access == FileAccess::Read;
    return Handle(::CreateFileW(
        path, read ? GENERIC_READ : GENERIC_WRITE,
        read ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ, nullptr,
        access == FileAccess::Write    ? CREATE_ALWAYS
        : access == FileAccess::Append ? OPEN_ALWAYS
                                       : OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr));
}
