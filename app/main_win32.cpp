// main_win32.cpp: Numerak on Windows starts by loading and showing the game window.
#include <windows.h>

#include <commctrl.h>

#include "about/frmabout.hpp"
#include "about/platform.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/win32/win32_runtime.hpp"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {  // the program takes no command line of its own
    // The themed controls the manifest asks for are registered by the common controls library.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    int status = 0;
    {
        const numerak::AppIdentity& identity = numerak::numerakIdentity;
        numerak::win32::Win32Runtime runtime{std::string(identity.AppTitle)};
        numerak::Generator generator;
        const auto platform = numerak::makeSystemPlatform();
        numerak::frmCode game(runtime, generator,
                              [&] { return std::make_unique<numerak::frmAbout>(runtime, *platform, identity); });
        runtime.start(game);
        status = runtime.run();
    }
    return status;
}
