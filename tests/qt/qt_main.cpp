// The Qt front-end tests run on the offscreen platform unless told otherwise, also when CTest
// lists them at build time without the tests' environment.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "runtime/qt/widgets.hpp"

namespace {

// The offscreen platform warns about every window it cannot size by hints; that says nothing
// about the program.
void quietOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietOffscreenNoise);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    numerak::qt::prepareApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
