#include "ListIcons.h"
#include "TestIconTheme.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

// An application's row shows the icon its desktop entry names, as the access window does, not a
// stand-in for every program.
TEST(ListIconsTest, ApplicationRowsShowTheEntrysOwnIcon)
{
    const TestIconTheme theme(
        {{"korvale-maps", Qt::red}, {"application-x-executable", Qt::darkGray}});
    QTemporaryDir dir;
    const auto entry = [&](const QString &name, const QByteArray &icon) {
        const QString path = dir.filePath(name + ".desktop");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=" + name.toUtf8()
                   + "\nExec=true\nIcon=" + icon + "\n");
        return path;
    };
    const QString maps = entry("maps", "korvale-maps");
    const QString plain = entry("plain", "no-such-icon");
    const QSize RowSize(ListIcons::Width, ListIcons::Height);
    // Drawn 5 pixels in, on a 25 by 16 image: the icon's middle is at x = 13.
    EXPECT_EQ(TestIconTheme::centre(ListIcons::iconForPath(maps), 13, RowSize), QColor(Qt::red));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(maps)), QColor(Qt::red));
    EXPECT_EQ(TestIconTheme::centre(ListIcons::iconForPath(plain), 13, RowSize),
              QColor(Qt::darkGray));
}
