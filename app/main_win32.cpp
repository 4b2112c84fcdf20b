// main_win32.cpp: Numerak on Windows starts by loading and showing the game window.
#include <windows.h>

#include <commctrl.h>
#include <sddl.h>

#include "app/identity.hpp"
#include "app/program.hpp"
#include "runtime/language.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"

namespace {

// The mutex by which installers know that the game runs, in the global namespace, so that they see
// every user's game. Every signed-in user may wait on it and do nothing more: the game of a second
// player opens it too, and it stays while any game runs.
HANDLE holdRunningMutex() {
    PSECURITY_DESCRIPTOR waitOnly = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;0x00100000;;;AU)", SDDL_REVISION_1, &waitOnly,
                                                           nullptr);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, waitOnly, FALSE};
    HANDLE running = ::CreateMutexExA(waitOnly ? &attributes : nullptr, numerak::RunningMutexName, 0, SYNCHRONIZE);
    if (waitOnly) ::LocalFree(waitOnly);
    return running;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {  // the program takes no command line of its own
    // The themed controls the manifest asks for are registered by the common controls library.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    numerak::UseLanguage(numerak::ChooseLanguage(numerak::win32::preferredUiLanguages()));
    HANDLE running = holdRunningMutex();
    int status = 0;
    {
        numerak::win32::Win32Runtime runtime{std::string(numerak::numerakIdentity.AppTitle)};
        status = numerak::RunNumerak(runtime, [&] { return runtime.run(); });
    }
    if (running) ::CloseHandle(running);
    return status;
}
