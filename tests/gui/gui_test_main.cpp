// The front-end tests run under Qt's offscreen platform unless told otherwise.
#include <QApplication>
#include <gtest/gtest.h>

#include "gui/application.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    ::testing::InitGoogleTest(&argc, argv);
    gui::prepareQt();
    QApplication app(argc, argv);
    gui::setUpApplication(app);
    return RUN_ALL_TESTS();
}
