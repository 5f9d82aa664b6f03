#include "ApplicationVersion.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ApplicationVersionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.isValid());
        ApplicationVersion::setMetainfoFolders({mFolder.path() + "/none", mFolder.path()});
    }
    void TearDown() override { ApplicationVersion::setMetainfoFolders({}); }

    void write(const QString &name, const QByteArray &xml)
    {
        const QString path = mFolder.path() + '/' + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + xml);
    }

    QTemporaryDir mFolder;
};

TEST_F(ApplicationVersionTest, NewestStableReleaseOfTheEntrysMetadata)
{
    write(
        "org.example.Editor.metainfo.xml",
        "<component type=\"desktop-application\"><id>org.example.Editor</id>"
        "<name>Editor</name><releases>"
        "<release version=\"2.9\" date=\"2026-01-01\"><description><p>x</p></description></release>"
        "<release version=\"3.0~beta\" type=\"development\"/>"
        "<release version=\"2.10.1\" date=\"2026-03-01\"/>"
        "<release version=\"2.2\" type=\"stable\"/>"
        "</releases></component>");
    EXPECT_EQ(
        ApplicationVersion::versionForPath("/usr/share/applications/org.example.Editor.desktop"),
        "2.10.1")
        << "by version order, development releases left out";
}

TEST_F(ApplicationVersionTest, MetadataNamedOtherwiseIsFoundByItsLaunchableOrLegacyId)
{
    write("org.example.browser.metainfo.xml",
          "<component type=\"desktop-application\"><id>org.example.browser</id>"
          "<launchable type=\"desktop-id\">browser-esr.desktop</launchable>"
          "<releases><release version=\"128.5.0esr\"/></releases></component>");
    write("legacy.appdata.xml",
          "<application><id type=\"desktop\">oldtool.desktop</id>"
          "<releases><release version=\"0.9.1\" timestamp=\"1\"/></releases></application>");
    EXPECT_EQ(ApplicationVersion::versionForPath("/opt/apps/browser-esr.desktop"), "128.5.0esr");
    EXPECT_EQ(ApplicationVersion::versionForPath("/usr/share/applications/oldtool.desktop"),
              "0.9.1");
}

TEST_F(ApplicationVersionTest, ReleasesKeptInTheirOwnFile)
{
    write("org.example.Split.metainfo.xml",
          "<component><id>org.example.Split</id><releases type=\"external\"/></component>");
    write("releases/org.example.Split.releases.xml",
          "<releases><release version=\"1.4\"/><release version=\"1.5\"/></releases>");
    EXPECT_EQ(ApplicationVersion::versionForPath("/x/org.example.Split.desktop"), "1.5");
}

TEST_F(ApplicationVersionTest, NoVersionWithoutMetadataOrReleases)
{
    write("org.example.Bare.metainfo.xml", "<component><id>org.example.Bare</id></component>");
    write("broken.metainfo.xml", "<component><id>org.example.Broken");
    EXPECT_EQ(ApplicationVersion::versionForPath("/x/org.example.Bare.desktop"), std::nullopt);
    EXPECT_EQ(ApplicationVersion::versionForPath("/x/org.example.Missing.desktop"), std::nullopt);
    EXPECT_EQ(ApplicationVersion::versionForPath("/usr/bin/org.example.Editor"), std::nullopt)
        << "only desktop entries have AppStream metadata";
    EXPECT_EQ(ApplicationVersion::versionForPath(""), std::nullopt);
}

TEST(ApplicationVersionFolders, TheUsersOwnMetadataCountsToo)
{
    TemporaryHome home;
    ApplicationVersion::setMetainfoFolders({});
    const QStringList folders = ApplicationVersion::metainfoFolders();
    EXPECT_EQ(folders.first(), home.path() + "/.local/share/metainfo");
    EXPECT_TRUE(folders.contains("/usr/share/metainfo"));
    EXPECT_TRUE(folders.contains("/usr/share/appdata"));
    EXPECT_LT(folders.indexOf("/usr/share/metainfo"), folders.indexOf("/usr/share/appdata"));

    QDir().mkpath(home.path() + "/.local/share/metainfo");
    QFile file(home.path() + "/.local/share/metainfo/org.example.Mine.metainfo.xml");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<component><id>org.example.Mine</id><releases><release version=\"0.3\"/>"
               "</releases></component>");
    file.close();
    EXPECT_EQ(ApplicationVersion::versionForPath(
                  home.path() + "/.local/share/applications/org.example.Mine.desktop"),
              "0.3");
}

TEST(ApplicationVersionOrder, ComparesLikeAppStream)
{
    EXPECT_GT(ApplicationVersion::compareVersions("1.10", "1.9"), 0);
    EXPECT_LT(ApplicationVersion::compareVersions("1.0~rc1", "1.0"), 0);
    EXPECT_GT(ApplicationVersion::compareVersions("1.0.1", "1.0"), 0);
    EXPECT_EQ(ApplicationVersion::compareVersions("2.0", "2.00"), 0);
    EXPECT_GT(ApplicationVersion::compareVersions("45.1", "45.beta"), 0) << "numbers after letters";
    EXPECT_EQ(ApplicationVersion::compareVersions("3.2", "3.2"), 0);
}

} // namespace
