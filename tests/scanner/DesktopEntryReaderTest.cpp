#include "DesktopEntryReader.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

std::optional<QString> titleOf(const QByteArray &contents)
{
    DesktopEntryReader reader;
    return reader.listedTitleInContents(contents, QStringLiteral("/apps/entry.desktop"));
}

} // namespace

TEST(DesktopEntryReader, NameIsTakenInTheBestLanguageAvailable)
{
    const QByteArray entry = "[Desktop Entry]\nType=Application\nExec=true\nName=Files\n"
                             "Name[de]=Dateien\nName[de_AT]=Dateien (AT)\nName[pt_BR]=Arquivos\n"
                             "[Desktop Action New]\nName[de]=Neues Fenster\n";
    {
        ScopedEnvironment env{{"LANGUAGE", nullptr},
                              {"LC_ALL", nullptr},
                              {"LC_MESSAGES", nullptr},
                              {"LANG", "de_DE.UTF-8"}};
        EXPECT_EQ(titleOf(entry), "Dateien");
    }
    {
        ScopedEnvironment env{{"LANGUAGE", "pt_BR:de"}, {"LANG", "de_AT.UTF-8"}};
        EXPECT_EQ(titleOf(entry), "Arquivos");
    }
    {
        ScopedEnvironment env{{"LANGUAGE", nullptr}, {"LC_ALL", "de_AT.UTF-8@euro"}};
        EXPECT_EQ(titleOf(entry), "Dateien (AT)");
    }
    {
        ScopedEnvironment env{{"LANGUAGE", nullptr}, {"LC_ALL", "C"}};
        EXPECT_EQ(titleOf(entry), "Files");
    }
}

TEST(DesktopEntryReader, ValuesAreUnescapedAndAnEntryWithoutNameIsNamedByItsFile)
{
    ScopedEnvironment env{{"LANGUAGE", nullptr}, {"LC_ALL", "C"}};
    EXPECT_EQ(titleOf("[Desktop Entry]\nType=Application\nExec=true\nName=\\sTwo\\\\Words\n"),
              " Two\\Words");
    EXPECT_EQ(titleOf("[Desktop Entry]\nType=Application\nExec=true\n"), "entry.desktop");
    EXPECT_EQ(titleOf("# comment\n\n[Desktop Entry]\r\nType = Application\r\nName = Spaced\r\n"),
              "Spaced");
}

TEST(DesktopEntryReader, OnlyApplicationsOfTheMainGroupAreListed)
{
    EXPECT_FALSE(titleOf("[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n"));
    EXPECT_FALSE(titleOf("[Desktop Entry]\nName=No Type\nExec=true\n"));
    EXPECT_FALSE(titleOf("[Other Group]\nType=Application\nName=Elsewhere\nExec=true\n"));
    EXPECT_FALSE(titleOf("[Desktop Entry]\nType=Application\nName=Off\nHidden=1\n"));
    EXPECT_TRUE(titleOf("[Desktop Entry]\nType=Application\nName=On\nNoDisplay=false\n"));
    EXPECT_FALSE(titleOf(QByteArray()));
}

TEST(DesktopEntryReader, ProgramsMustBeFound)
{
    QByteArray base = "[Desktop Entry]\nType=Application\nName=P\n";
    EXPECT_TRUE(titleOf(base + "Exec=true --flag %U\n"));
    EXPECT_TRUE(titleOf(base + "Exec=\"/bin/true\" %f\n"));
    EXPECT_FALSE(titleOf(base + "Exec=korvale-missing-program %U\n"));
    EXPECT_FALSE(titleOf(base + "Exec=\"/no such/folder/program\" %f\n"));
    EXPECT_FALSE(titleOf(base + "Exec=true\nTryExec=/no/such/program\n"));
    // A folder named like a program is not one.
    EXPECT_FALSE(titleOf(base + "TryExec=/tmp\n"));
    // Started over D-Bus: no Exec line at all.
    EXPECT_TRUE(titleOf(base + "DBusActivatable=true\n"));
}

TEST(DesktopEntryReader, EntriesLimitedToSomeDesktops)
{
    const QByteArray base = "[Desktop Entry]\nType=Application\nName=D\nExec=true\n";
    {
        ScopedEnvironment env{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}};
        EXPECT_TRUE(titleOf(base + "OnlyShowIn=KDE;GNOME;\n"));
        EXPECT_FALSE(titleOf(base + "OnlyShowIn=KDE;\n"));
        EXPECT_FALSE(titleOf(base + "NotShowIn=GNOME;\n"));
        // The first current desktop a list names decides.
        EXPECT_TRUE(titleOf(base + "OnlyShowIn=ubuntu;\nNotShowIn=GNOME;\n"));
    }
    {
        ScopedEnvironment env{{"XDG_CURRENT_DESKTOP", nullptr}};
        EXPECT_FALSE(titleOf(base + "OnlyShowIn=KDE;\n"));
        EXPECT_TRUE(titleOf(base + "NotShowIn=KDE;\n"));
    }
}

TEST(DesktopEntryReader, DesktopFileIdJoinsSubfoldersWithDashes)
{
    EXPECT_EQ(DesktopEntryReader::desktopFileId("kde/konsole.desktop"), "kde-konsole.desktop");
    EXPECT_EQ(DesktopEntryReader::desktopFileId("firefox.desktop"), "firefox.desktop");
}
