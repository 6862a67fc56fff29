// The front-end tests run under Qt's offscreen platform unless told otherwise, on a screen
// large enough for the hub at its designed place (Qt's own offscreen screen is 800 x 600,
// where the hub would be moved to fit).
#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include "gui/application.h"

int main(int argc, char** argv)
{
    QTemporaryFile screens;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && screens.open()) {
        screens.write(R"({ "synchronousWindowSystemEvents": false, "windowFrameMargins": true,
            "screens": [ { "name": "OffscreenScreen", "x": 0, "y": 0, "width": 1920, "height": 1080,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    gui::setUpApplication(app);
    return RUN_ALL_TESTS();
}
