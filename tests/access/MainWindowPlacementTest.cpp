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
