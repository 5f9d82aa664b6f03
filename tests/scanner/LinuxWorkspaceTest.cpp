#include "NativeFileName.h"
#include "ScannerFixtures.h"
#include "TestEnvironment.h"
#include "platform/Workspace.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

using namespace ScannerFixtures;

namespace {

// A program that notes the desktop entry it was launched from, then stays up until killed.
QString writeRecorderScript(const QString &folder)
{
    const QString script = folder + QStringLiteral("/recorder.sh");
    const QByteArray out = folder.toUtf8();
    writeFile(script,
              "#!/bin/sh\necho \"$GIO_LAUNCHED_DESKTOP_FILE\" > \"" + out
                  + "/launched-from.txt\"\necho $$ > \"" + out + "/pid.txt\"\nexec sleep 30\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

QString waitForFile(const QString &path)
{
    QString contents;
    (void)QTest::qWaitFor(
        [&] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            contents = QString::fromUtf8(file.readAll()).trimmed();
            return !contents.isEmpty();
        },
        10000);
    return contents;
}

// Kills the processes started from `bundlePath`, and says whether there was one.
bool killProcessesOf(Workspace &workspace, const QString &bundlePath)
{
    bool found = false;
    for (const WorkspaceProcess &process : workspace.runningProcesses()) {
        if (process.bundlePath == bundlePath) {
            kill(pid_t(process.pid), SIGTERM);
            found = true;
        }
    }
    return found;
}

} // namespace

TEST(LinuxWorkspace, LaunchesADesktopEntryThatItsProcessIsKnownBy)
{
    QTemporaryDir folder;
    const QString script = writeRecorderScript(folder.path());
    const QString entry = folder.path() + QStringLiteral("/recorder.desktop");
    writeFile(entry,
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script.toUtf8() + "\n");
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();

    ASSERT_TRUE(workspace->launchApplication(entry));

    EXPECT_EQ(waitForFile(folder.path() + "/launched-from.txt"), entry);
    EXPECT_TRUE(killProcessesOf(*workspace, entry));
}

// On X11 a launched program may take the focus by the startup identifier the agent stamps with
// the X server's time, and it starts with the session's environment, not the agent's own
// variables, whether GIO starts it (an entry) or the agent does (a program).
TEST(LinuxWorkspace, ALaunchedProgramGetsAStartupIdentifierAndNothingOfTheAgents)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display: run under scripts/with-session.sh";
    ScopedEnvironment agentOnly{{"KORVALE_TEST_MARKER", "agent-only"},
                                {"XDG_ACTIVATION_TOKEN", "the-agents-own"},
                                {"WAYLAND_DISPLAY", nullptr},
                                {"XDG_SESSION_TYPE", "x11"}};
    QTemporaryDir folder;
    const QString printer = folder.path() + QStringLiteral("/printer.sh");
    writeFile(printer, "#!/bin/sh\nenv > \"$1.part\" && mv \"$1.part\" \"$1\"\n");
    QFile::setPermissions(printer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString entry = folder.path() + QStringLiteral("/printer.desktop");
    writeFile(entry,
              "[Desktop Entry]\nType=Application\nName=Printer\nStartupNotify=true\nExec="
                  + printer.toUtf8() + " " + folder.path().toUtf8() + "/entry.env\n");
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    ASSERT_TRUE(workspace->launchApplication(entry));
    const QString launched = waitForFile(folder.path() + "/entry.env");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("(^|\n)DESKTOP_STARTUP_ID=korvale-launch-\\d+-"
                                                  "\\d+_TIME\\d+\n"))
                    .match(launched + "\n")
                    .hasMatch())
        << launched.toStdString();
    EXPECT_FALSE(launched.contains(QStringLiteral("KORVALE_TEST_MARKER")));
    EXPECT_FALSE(launched.contains(QStringLiteral("XDG_ACTIVATION_TOKEN")));
    EXPECT_TRUE(launched.contains(QStringLiteral("HOME=")));
}

// An address opened from the suite (a link of a preview, a bookmark, a web search) goes to the
// default handler of its scheme with the same leave to take the focus, and nothing of the
// agent's own, as a launched entry does. GIO reads the handlers' folders once a process: ctest
// runs each test in a process of its own, where this home is the first it sees.
TEST(LinuxWorkspace, AnOpenedAddressGoesToItsHandlerWithAStartupIdentifier)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display: run under scripts/with-session.sh";
    TemporaryHome home;
    ScopedEnvironment agentOnly{{"KORVALE_TEST_MARKER", "agent-only"},
                                {"WAYLAND_DISPLAY", nullptr},
                                {"XDG_SESSION_TYPE", "x11"}};
    const QString printed = home.path() + QStringLiteral("/address.env");
    const QString printer = home.path() + QStringLiteral("/printer.sh");
    writeFile(printer,
              "#!/bin/sh\n{ echo \"ADDRESS=$1\"; env; } > \"" + printed.toUtf8()
                  + ".part\" && mv \"" + printed.toUtf8() + ".part\" \"" + printed.toUtf8()
                  + "\"\n");
    QFile::setPermissions(printer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    makeFolder(home.path() + "/.local/share/applications");
    writeFile(home.path() + "/.local/share/applications/org.example.Handler.desktop",
              "[Desktop Entry]\nType=Application\nName=Handler\n"
              "MimeType=x-scheme-handler/x-korvale-test;\nExec="
                  + printer.toUtf8() + " %u\n");
    makeFolder(home.path() + "/.config");
    writeFile(
        home.path() + "/.config/mimeapps.list",
        "[Default Applications]\nx-scheme-handler/x-korvale-test=org.example.Handler.desktop\n");

    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    ASSERT_TRUE(workspace->openUrl(QUrl(QStringLiteral("x-korvale-test:page?q=a%20b"))));
    const QString launched = waitForFile(printed);
    EXPECT_TRUE(launched.startsWith(QStringLiteral("ADDRESS=x-korvale-test:page?q=a%20b\n")))
        << launched.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\nDESKTOP_STARTUP_ID=korvale-open-\\d+-"
                                                  "\\d+_TIME\\d+\n"))
                    .match(launched + "\n")
                    .hasMatch())
        << launched.toStdString();
    EXPECT_FALSE(launched.contains(QStringLiteral("KORVALE_TEST_MARKER")));
}

TEST(LinuxWorkspace, RunsBundleFoldersAndPrograms)
{
    QTemporaryDir folder;
    const QString script = writeRecorderScript(folder.path());
    const QString bundle = folder.path() + QStringLiteral("/Recorder.app");
    makeFolder(bundle);
    ASSERT_TRUE(QFile::link(script, bundle + QStringLiteral("/AppRun")));
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();

    for (const QString &path : {bundle, script}) {
        QFile::remove(folder.path() + "/pid.txt");
        ASSERT_TRUE(workspace->launchApplication(path));
        const qint64 pid = waitForFile(folder.path() + "/pid.txt").toLongLong();
        ASSERT_GT(pid, 0) << path.toStdString();
        kill(pid_t(pid), SIGTERM);
    }
}

TEST(LinuxWorkspace, LaunchFailuresAreReportedAndLogged)
{
    QTemporaryDir folder;
    writeFile(folder.path() + "/plain.txt", "text");
    makeFolder(folder.path() + "/Empty.app");
    writeFile(folder.path() + "/broken.desktop", "[Desktop Entry]\nType=Link\nName=L\n");
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    CapturedLog log;

    EXPECT_FALSE(workspace->launchApplication(folder.path() + "/missing.desktop"));
    EXPECT_FALSE(workspace->launchApplication(folder.path() + "/plain.txt"));
    EXPECT_FALSE(workspace->launchApplication(folder.path() + "/Empty.app"));
    EXPECT_FALSE(workspace->launchApplication(folder.path() + "/broken.desktop"));
    EXPECT_FALSE(workspace->openPath(folder.path() + "/missing.txt"));
    EXPECT_FALSE(workspace->revealPath(folder.path() + "/missing.txt"));

    ASSERT_EQ(log.lines().size(), 4);
    EXPECT_TRUE(log.lines().first().startsWith("Unable launching application "));
}

TEST(LinuxWorkspace, WithoutADisplayWindowsAreLeftAloneWithAReason)
{
    const QByteArray saved = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    QString reason;
    const bool can = workspace->canBringToFront(&reason);
    const bool brought = workspace->bringProcessToFront(QCoreApplication::applicationPid());
    const bool hasFront = workspace->frontApplication().has_value();
    if (!saved.isNull())
        qputenv("DISPLAY", saved);

    EXPECT_FALSE(can);
    EXPECT_TRUE(reason.contains("DISPLAY")) << reason.toStdString();
    EXPECT_FALSE(brought);
    EXPECT_FALSE(hasFront);
}

namespace {

class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    void ShowItems(const QStringList &uris, const QString &) { shown << uris; }
};

} // namespace

TEST(LinuxWorkspace, RevealAsksTheFileManagerOnTheBus)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        GTEST_SKIP() << "no D-Bus session bus; run under scripts/with-session.sh";
    FakeFileManager fileManager;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &fileManager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));
    QTemporaryDir folder;
    const QString item = folder.path() + QStringLiteral("/a file with spaces.txt");
    writeFile(item, "x");
    // A name from an old disk: reached by its bytes, and handed on as them.
    const QByteArray latin1 = QFile::encodeName(folder.path()) + "/caf\xe9.txt";
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    const bool revealed = workspace->revealPath(item);
    const bool revealedLatin1 = workspace->revealPath(NativeFileName::fromNative(latin1));
    (void)QTest::qWaitFor([&] { return fileManager.shown.size() == 2; }, 5000);
    bus.unregisterService("org.freedesktop.FileManager1");
    bus.unregisterObject("/org/freedesktop/FileManager1");

    EXPECT_TRUE(revealed);
    EXPECT_TRUE(revealedLatin1);
    ASSERT_EQ(fileManager.shown.size(), 2);
    // A proper URI: file managers do not guess at unescaped spaces.
    const std::string folderUri =
        "file://" + QString(folder.path()).replace(" ", "%20").toStdString();
    // Each reveal is its own asynchronous call, so their order on the bus is not promised.
    QStringList shown = fileManager.shown;
    shown.sort();
    EXPECT_EQ(shown.first().toStdString(), folderUri + "/a%20file%20with%20spaces.txt");
    EXPECT_EQ(shown.last().toStdString(), folderUri + "/caf%E9.txt");
    ::unlink(latin1.constData());
}

#include "LinuxWorkspaceTest.moc"
