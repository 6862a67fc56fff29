// One program per user session: a start that finds no program to take its files goes on by
// itself. (The hand-over to a running program is what every desktop case's program_open does.)
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "gui/single_instance.h"

TEST(DesktopHandOver, NobodyListeningMeansTheStartGoesOn)
{
    const QString key = QStringLiteral("zelvora-test-%1-nobody").arg(QCoreApplication::applicationPid());
    EXPECT_FALSE(gui::SingleInstance::handOver(key, { QStringLiteral("/tmp/a.mp3") }, 500));
}
