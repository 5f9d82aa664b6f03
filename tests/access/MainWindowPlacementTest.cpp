#include "MainWindow.h"
#include "QOR_WindowsUtils.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

// Placed for the first time, high on the right, the whole window stays on the screen: a window
// whose top lies above the screen cannot be reached or moved.
TEST(MainWindowPlacement, TheFirstPlacementKeepsTheWholeWindowOnTheScreen)
{
    TemporaryHome home;
    SharedPreferences preferences;
    MainWindow window(&preferences);
    const QRect screen = QOR_WindowsUtils::getScreenRect();
    ASSERT_FALSE(screen.isEmpty());
    EXPECT_TRUE(screen.contains(window.geometry())) << window.geometry().y();
    // Still to the right of the centre, where it is out of the way.
    EXPECT_GT(window.geometry().center().x(), screen.center().x());
}

// A move is saved a moment later; when the agent ends meanwhile, the move is saved then.
TEST(MainWindowPlacement, AMoveNotSavedYetIsSavedWhenAsked)
{
    TemporaryHome home;
    SharedPreferences preferences;
    MainWindow window(&preferences);
    window.show();
    window.savePendingFrame();
    const QVariant before = SharedPreferences().value(MainWindow::FrameKey);
    window.move(window.pos() + QPoint(-37, 23));
    EXPECT_EQ(SharedPreferences().value(MainWindow::FrameKey), before) << "saved only later";
    window.savePendingFrame();
    EXPECT_EQ(SharedPreferences().value(MainWindow::FrameKey).toString(), window.frameString());
}
