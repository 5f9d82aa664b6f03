#include "DesktopEntryReader.h"
#include "SearchSourceFiles.h"
#include "TestEnvironment.h"
#include "platform/SessionPrograms.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// The start command puts the manager in the desktop's launcher: the entry must start exactly
// the program built, wherever the user keeps the build, awkward names included.
TEST(DesktopEntriesScript, TheEntriesStartTheBuiltProgramsFromAnyFolder)
{
    TemporaryHome home;
    const QString build = home.path() + "/my \"builds\" $HOME `x` \\ 100%/build";
    ASSERT_TRUE(QDir().mkpath(build + "/bin"));
    const ProgramRun run = runProgram(
        QStringLiteral("bash"),
        {QStringLiteral(KORVALE_SOURCE_DIR) + "/scripts/install-desktop-entries.sh", build});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    // The agent's entry bears the application id the agent gives the desktop portal.
    const std::pair<QString, QString> entries[] = {
        {QStringLiteral("korvale-manager"), QStringLiteral("korvale-manager")},
        {SessionProgram::daemon().service, SessionProgram::daemon().fileName}};
    for (const auto &[id, program] : entries) {
        QFile entry(applications + "/" + id + ".desktop");
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly)) << entry.fileName().toStdString();
        const DesktopEntryReader::MainGroup group =
            DesktopEntryReader::readMainGroup(entry.readAll(), {});
        EXPECT_EQ(group.type, "Application");
        // A lone % would start a field code that launchers replace or refuse.
        EXPECT_FALSE(QByteArray(group.exec).replace("%%", "").contains('%')) << group.exec.data();
        EXPECT_EQ(QString::fromUtf8(DesktopEntryReader::execProgram(group.exec)),
                  build + "/bin/" + program);
    }
    EXPECT_TRUE(QFile::exists(qEnvironmentVariable("XDG_DATA_HOME")
                              + "/icons/hicolor/scalable/apps/korvale.svg"));
    // The agent in the desktop's search, where KRunner reads the user's folder: the files name
    // the agent's bus and objects, so the agent's own reading of them leaves them out.
    const QList<DesktopSearchSource> found =
        SearchSourceFiles::find({qEnvironmentVariable("XDG_DATA_HOME")});
    EXPECT_TRUE(found.isEmpty());
    QFile provider(qEnvironmentVariable("XDG_DATA_HOME")
                   + "/gnome-shell/search-providers/korvale-search-provider.ini");
    ASSERT_TRUE(provider.open(QIODevice::ReadOnly));
    const std::optional<DesktopSearchSource> ours =
        SearchSourceFiles::readGnomeProvider(provider.readAll());
    ASSERT_TRUE(ours);
    EXPECT_EQ(ours->busName, "org.korvale.Daemon");
    EXPECT_EQ(ours->objectPath, "/org/korvale/SearchProvider");
    EXPECT_TRUE(SearchSourceFiles::isSkipped(*ours));
    QFile runner(qEnvironmentVariable("XDG_DATA_HOME")
                 + "/krunner/dbusplugins/korvale-runner.desktop");
    ASSERT_TRUE(runner.open(QIODevice::ReadOnly));
    const std::optional<DesktopSearchSource> ourRunner =
        SearchSourceFiles::readRunner(runner.readAll(), {});
    ASSERT_TRUE(ourRunner);
    EXPECT_EQ(ourRunner->objectPath, "/org/korvale/Runner");
    EXPECT_TRUE(SearchSourceFiles::isSkipped(*ourRunner));
}
