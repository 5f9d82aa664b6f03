// What the real agent leaves unloaded until a gesture needs it, and loads when it does.
#include "E2eSupport.h"

#include <gtest/gtest.h>

namespace {

QStringList fontFiles(const QStringList &files)
{
    QStringList fonts;
    for (const QString &file : files) {
        if (file.endsWith(".ttf", Qt::CaseInsensitive) || file.endsWith(".otf", Qt::CaseInsensitive)
            || file.endsWith(".pfb", Qt::CaseInsensitive) || file.endsWith(".pcf.gz"))
            fonts << file;
    }
    return fonts;
}

} // namespace

// Started and idle, with no tray to show its icon: no widget was made (so no font is open), the
// tray icon's SVG image and GIO are not loaded, nor, in an X11 session, libwayland-client or
// the XTest library a paste uses; XInput's raw events come without libXi. Opening the access window loads what it draws
// with, and the window works.
TEST(AgentIdleEndToEnd, WidgetsFontsAndGioWaitForTheirFirstUse)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(waitFor([] { return agentStatus().value("dataReadCount").toInt() >= 1; }))
        << agent.log().toStdString();
    const QStringList idle = mappedFiles(agent.pid());
    ASSERT_FALSE(idle.filter("libQt6Widgets").isEmpty()) << idle.join(' ').toStdString();
    EXPECT_TRUE(fontFiles(idle).isEmpty()) << fontFiles(idle).join(' ').toStdString();
    EXPECT_TRUE(idle.filter("libqsvgicon").isEmpty()) << idle.join(' ').toStdString();
    EXPECT_TRUE(idle.filter("libQt6Svg").isEmpty()) << idle.join(' ').toStdString();
    EXPECT_TRUE(idle.filter("libgio-2.0").isEmpty()) << idle.join(' ').toStdString();
    EXPECT_TRUE(idle.filter("libwayland-client").isEmpty()) << idle.join(' ').toStdString();
    EXPECT_TRUE(idle.filter("libXtst").isEmpty()) << idle.join(' ').toStdString();
    EXPECT_TRUE(idle.filter("libXi.so").isEmpty()) << idle.join(' ').toStdString();

    ASSERT_TRUE(callAccessWindow("Open"));
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }))
        << agent.log().toStdString();
    const QStringList open = mappedFiles(agent.pid());
    EXPECT_FALSE(fontFiles(open).isEmpty()) << open.join(' ').toStdString();
    EXPECT_FALSE(open.filter("libqsvgicon").isEmpty()) << open.join(' ').toStdString();
    ASSERT_TRUE(callAccessWindow("Close"));
}
