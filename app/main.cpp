// main.cpp: Numerak starts by loading and showing the game window.
#include <QApplication>
#include <QByteArray>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/identity.hpp"
#include "app/program.hpp"
#include "runtime/language.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "runtime/qt/widgets.hpp"

namespace {

constexpr const char* howToGetADisplay =
    "Start it from a desktop session, or under a virtual display: xvfb-run numerak\n";

bool displayNamed() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

QtMessageHandler toolkitHandler = nullptr;
QStringList heldBack;  // the toolkit's words while it starts

// While the toolkit starts, a display that is named but cannot be reached is the toolkit's
// fatal error, which would abort the program: say plainly what is wrong instead and end. What
// the toolkit says on the way is held back and told only if the start succeeds.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        heldBack.append(qFormatLogMessage(type, context, message));
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "numerak: the display%s%s cannot be opened to show the game on.\n%s",
                 display.isEmpty() ? "" : " ", display.constData(), howToGetADisplay);
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

int main(int, char** argv) {
    if (!displayNamed()) {
        std::fprintf(stderr,
                     "numerak: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n%s",
                     howToGetADisplay);
        return 1;
    }
    // The program takes no command line: not even the toolkit's own options (-style, -reverse,
    // -platform and the like) may change the game. The toolkit is told the program's name alone.
    int toolkitArgc = 1;
    toolkitHandler = qInstallMessageHandler(startupMessages);
    QApplication app(toolkitArgc, argv);
    qInstallMessageHandler(toolkitHandler);
    for (const QString& line : std::as_const(heldBack)) std::fprintf(stderr, "%s\n", qPrintable(line));
    heldBack.clear();

    // The player's language, as gettext would find it.
    numerak::UseLanguage(
        numerak::ChooseLanguage(numerak::LanguagesFromEnvironment([](const char* name) { return std::getenv(name); })));
    const numerak::AppIdentity& identity = numerak::numerakIdentity;
    QApplication::setApplicationName(numerak::qt::toQString(identity.AppTitle));
    // So that a Wayland desktop shows the game's windows under its own menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(numerak::DesktopAppId));
    numerak::qt::prepareApplication();

    numerak::qt::QtRuntime runtime{std::string(identity.AppTitle)};
    return numerak::RunNumerak(runtime, [] { return QApplication::exec(); });
}
