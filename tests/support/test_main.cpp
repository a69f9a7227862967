#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    // Every test runs without a display; scenes and views render offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Death tests re-run the binary instead of forking a process with Qt's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
