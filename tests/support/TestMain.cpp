#include <gtest/gtest.h>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <cstdlib>

int main(int argc, char **argv)
{
    // Widget tests draw off screen unless a test run provides a display on purpose.
    if (!std::getenv("KORVALE_TEST_USE_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
