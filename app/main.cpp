// main.cpp: Numerak starts by loading and showing the game window.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "about/frmabout.hpp"
#include "about/platform.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "runtime/qt/widgets.hpp"

namespace {

bool displayAvailable() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs(
            "numerak: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Start it from a desktop session, or under a virtual display: xvfb-run numerak\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);  // the program takes no command line of its own
    QApplication::setApplicationName(numerak::qt::toQString(numerak::AppIdentity::AppTitle));
    numerak::qt::prepareApplication();

    numerak::qt::QtRuntime runtime{std::string(numerak::AppIdentity::AppTitle)};
    numerak::Generator generator;
    const auto platform = numerak::makeSystemPlatform();
    numerak::frmCode game(runtime, generator, [&] { return std::make_unique<numerak::frmAbout>(runtime, *platform); });
    runtime.start(game);
    if (runtime.ended()) return 0;
    return QApplication::exec();
}
