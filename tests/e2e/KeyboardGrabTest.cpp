#include "E2eSupport.h"

#include "platform/KeyboardGrab.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                   .size());
}

} // namespace

TEST(KeyboardGrab, KeepsWhatIsTypedWhileHeldAndLetsGo)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display: run under scripts/with-session.sh";
    // The connection to the display is open only while the keyboard is held.
    const int idleDescriptors = openDescriptors();
    KeyboardGrab::Creation creation = KeyboardGrab::createX11();
    ASSERT_TRUE(creation.grab) << creation.reason.toStdString();
    KeyboardGrab &grab = *creation.grab;
    EXPECT_EQ(openDescriptors(), idleDescriptors);

    ASSERT_TRUE(grab.begin());
    EXPECT_TRUE(grab.isActive());
    EXPECT_EQ(openDescriptors(), idleDescriptors + 1);
    // Shifted letters, a mistake mended with BackSpace, and a shortcut that is not text.
    xdotool({"type", "--delay", "10", "Caf"});
    xdotool({"key", "x", "BackSpace", "ctrl+a", "e", "space", "2"});
    EXPECT_EQ(grab.end(), QStringLiteral("Cafe 2"));
    EXPECT_FALSE(grab.isActive());
    EXPECT_EQ(openDescriptors(), idleDescriptors);

    // Released: a second holder can take the keyboard, and nothing is left over.
    KeyboardGrab::Creation other = KeyboardGrab::createX11();
    ASSERT_TRUE(other.grab);
    EXPECT_TRUE(other.grab->begin());
    EXPECT_EQ(other.grab->end(), QString());
    EXPECT_EQ(grab.end(), QString());
}
