// The test programs' entry: a QApplication on the offscreen platform, then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "Regional.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Tests set their regional formats explicitly; start from one that does not depend on the machine.
    Regional::Set(Regional::Neutral());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
