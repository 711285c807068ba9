#include "wine_paths.h"

#include <windows.h>

namespace {

using ToUnixFunction = char*(CDECL*)(LPCWSTR);
using ToDosFunction = WCHAR*(CDECL*)(LPCSTR);

// Through void(*)(), the one cast between function pointer types GCC
// accepts without a warning.
using AnyFunction = void (*)();

AnyFunction WineExport(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel == nullptr ? nullptr
                             : reinterpret_cast<AnyFunction>(GetProcAddress(kernel, name));
}

}  // namespace

std::string UnixPathOf(const std::wstring& windowsPath) {
    auto toUnix = reinterpret_cast<ToUnixFunction>(WineExport("wine_get_unix_file_name"));
    if (toUnix == nullptr)
        return std::string();
    char* unixPath = toUnix(windowsPath.c_str());
    if (unixPath == nullptr)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::wstring WindowsPathOf(const std::string& unixPath) {
    auto toDos = reinterpret_cast<ToDosFunction>(WineExport("wine_get_dos_file_name"));
    if (toDos == nullptr)
        return std::wstring();
    WCHAR* dosPath = toDos(unixPath.c_str());
    if (dosPath == nullptr)
        return std::wstring();
    std::wstring result = dosPath;
    HeapFree(GetProcessHeap(), 0, dosPath);
    return result;
}

bool IsDrivePath(const std::wstring& argument) {
    return argument.size() >= 3 && iswalpha(argument[0]) && argument[1] == L':' &&
           (argument[2] == L'\\' || argument[2] == L'/');
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size,
                        nullptr, nullptr);
    return utf8;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}
