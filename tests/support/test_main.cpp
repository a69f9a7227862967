#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    // Every test runs without a display; scenes and views render offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Death tests re-run the binary instead of forking a process with Qt's
    // threads, unless GTEST_DEATH_TEST_STYLE says otherwise: under user-mode
    // emulation without the machine's binfmt entry (scripts/check-i386) the
    // binary cannot be started again from inside, and "fast" forks.
    if (!qEnvironmentVariableIsSet("GTEST_DEATH_TEST_STYLE"))
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // The control images were drawn on Qt 5's offscreen platform, which has
    // 100 dpi and a 12 pt default font; Qt 6's has 96 dpi and 9 pt. Labels are
    // drawn in the application font, so the tests give it Qt 5's pixel size.
    QFont font = QApplication::font();
    font.setPointSizeF(12.0 * 100 / 96);
    QApplication::setFont(font);
#endif
    return RUN_ALL_TESTS();
}
