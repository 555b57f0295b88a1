// Shared entry of every test program: a headless Qt application, then GoogleTest.
#include "support/GuiTest.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    GuiTest::InstallHeadlessModalGuard();
    return RUN_ALL_TESTS();
}
