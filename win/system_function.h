#pragma once

#include <windows.h>

// A function of a system DLL, the DLL loaded on the first call for the rest
// of the program's life; null when the DLL or the function is not there.
// What the window does not need to open stays out of the import table, so
// its DLLs load only when a drop, a browse or a run first wants them.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = LoadLibraryW(dll);
    // Through void (*)(), the cast that says the type is known to be right.
    using AnyFunction = void (*)();
    return module == nullptr ? nullptr
                             : reinterpret_cast<Function>(
                                   reinterpret_cast<AnyFunction>(GetProcAddress(module, name)));
}
