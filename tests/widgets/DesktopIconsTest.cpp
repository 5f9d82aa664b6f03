#include "DesktopIcons.h"
#include "FileIcons.h"
#include "TestIconTheme.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QString desktopEntry(const QString &folder, const QString &name, const QString &icon)
{
    return writeFile(folder + QLatin1Char('/') + name + QStringLiteral(".desktop"),
                     "[Desktop Entry]\nType=Application\nName=" + name.toUtf8()
                         + "\nExec=true\nIcon=" + icon.toUtf8() + "\n");
}

} // namespace

// An application's icon is the one its entry names, however it names it, and a program icon when
// the theme has none; a file's is its type's own icon, else the type's generic one.
TEST(DesktopIconsTest, EntriesAndTypesFindTheirThemeIcons)
{
    const TestIconTheme theme({{"korvale-calculator", Qt::red},
                               {"application-x-executable", Qt::darkGray},
                               {"application-pdf", Qt::blue},
                               {"image-x-generic", Qt::green},
                               {"text-csv", Qt::yellow}});
    QTemporaryDir dir;
    QImage own(32, 32, QImage::Format_ARGB32);
    own.fill(Qt::cyan);
    const QString ownImage = dir.filePath("own.png");
    own.save(ownImage);

    const QString byName = desktopEntry(dir.path(), "byname", "korvale-calculator");
    const QString bySuffix = desktopEntry(dir.path(), "bysuffix", "korvale-calculator.png");
    const QString byFile = desktopEntry(dir.path(), "byfile", ownImage);
    const QString unknown = desktopEntry(dir.path(), "unknown", "no-such-icon-anywhere");
    const QString missingFile = desktopEntry(dir.path(), "missing", dir.filePath("gone.png"));
    // An entry from elsewhere naming a FIFO: nothing opens it, the program icon stands in.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.png")).constData(), 0600), 0);
    const QString fifo = desktopEntry(dir.path(), "fifo", dir.filePath("fifo.png"));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(fifo)), QColor(Qt::darkGray));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(byName)), QColor(Qt::red));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(bySuffix)), QColor(Qt::red));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(byFile)), QColor(Qt::cyan));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(unknown)), QColor(Qt::darkGray));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forApplication(missingFile)),
              QColor(Qt::darkGray));
    // A path that is a desktop entry is its application.
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forPath(byName)), QColor(Qt::red));

    const QString pdf = writeFile(dir.filePath("report.pdf"), "%PDF-1.4\n");
    const QString png = writeFile(dir.filePath("photo.png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
    const QString csv = writeFile(dir.filePath("table.csv"), "a,b\n1,2\n");
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forPath(pdf)), QColor(Qt::blue));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forPath(png)), QColor(Qt::green));
    EXPECT_EQ(TestIconTheme::centre(DesktopIcons::forPath(csv)), QColor(Qt::yellow));

    // The browser's rows, drawn once per type, come from the same lookup.
    FileTypeIcons rows;
    EXPECT_EQ(TestIconTheme::centre(rows.iconFor(pdf, false)), QColor(Qt::blue));
    EXPECT_EQ(TestIconTheme::centre(rows.iconFor(png, false)), QColor(Qt::green));
    EXPECT_EQ(TestIconTheme::centre(rows.iconFor(csv, false)), QColor(Qt::yellow));
}
