// system_library.hpp: functions of Windows' own libraries, looked up when they are first needed.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace numerak::win32 {

// A function of a library in the system folder, loading the library if nothing has yet: for a
// function newer than the oldest Windows we start on, or a library that is not worth loading
// before the player needs it (a DLL not loaded at start costs nothing before the first window).
// Null where the library or the function is missing.
template <class Fn>
Fn systemFunction(const wchar_t* library, const char* name) {
    HMODULE module = ::GetModuleHandleW(library);
    if (!module) module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// COM, from ole32.dll loaded the first time it is needed (to decode a picture, or for a screen
// reader): the program needs it for nothing else.
class Com {
public:
    static const Com& get() {
        static const Com com;
        return com;
    }
    bool ready() const { return initialize != nullptr && uninitialize != nullptr && create != nullptr; }

    decltype(&::CoInitializeEx) initialize =
        systemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    decltype(&::CoUninitialize) uninitialize =
        systemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    decltype(&::CoCreateInstance) create =
        systemFunction<decltype(&::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
};

}  // namespace numerak::win32
