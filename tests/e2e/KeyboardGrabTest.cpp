#include "E2eSupport.h"

#include "platform/KeyboardGrab.h"

#include <gtest/gtest.h>

TEST(KeyboardGrab, KeepsWhatIsTypedWhileHeldAndLetsGo)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display: run under scripts/with-session.sh";
    KeyboardGrab::Creation creation = KeyboardGrab::createX11();
    ASSERT_TRUE(creation.grab) << creation.reason.toStdString();
    KeyboardGrab &grab = *creation.grab;

    ASSERT_TRUE(grab.begin());
    EXPECT_TRUE(grab.isActive());
    // Shifted letters, a mistake mended with BackSpace, and a shortcut that is not text.
    xdotool({"type", "--delay", "10", "Caf"});
    xdotool({"key", "x", "BackSpace", "ctrl+a", "e", "space", "2"});
    EXPECT_EQ(grab.end(), QStringLiteral("Cafe 2"));
    EXPECT_FALSE(grab.isActive());

    // Released: a second holder can take the keyboard, and nothing is left over.
    KeyboardGrab::Creation other = KeyboardGrab::createX11();
    ASSERT_TRUE(other.grab);
    EXPECT_TRUE(other.grab->begin());
    EXPECT_EQ(other.grab->end(), QString());
    EXPECT_EQ(grab.end(), QString());
}
