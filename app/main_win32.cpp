// main_win32.cpp: Numerak on Windows starts by loading and showing the game window.
#include <windows.h>

#include <commctrl.h>

#include "app/identity.hpp"
#include "app/program.hpp"
#include "runtime/language.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {  // the program takes no command line of its own
    // The themed controls the manifest asks for are registered by the common controls library.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    numerak::UseLanguage(numerak::ChooseLanguage(numerak::win32::PreferredUiLanguages()));
    HANDLE running = ::CreateMutexA(nullptr, FALSE, numerak::RunningMutexName);
    int status = 0;
    {
        numerak::win32::Win32Runtime runtime{std::string(numerak::numerakIdentity.AppTitle)};
        status = numerak::RunNumerak(runtime, [&] { return runtime.run(); });
    }
    if (running) ::CloseHandle(running);
    return status;
}
