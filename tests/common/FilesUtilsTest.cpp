#include "QOR_FilesUtils.h"
#include "TestEnvironment.h"
#include "platform/MountTable.h"
#include "platform/ProcessTable.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString &path)
{
    struct stat st;
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

void writeFile(const QString &path, const QByteArray &bytes, mode_t mode = 0644)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FilesUtils : public ::testing::Test
{
protected:
    TemporaryHome home;
    QString path(const QString &name) const { return home.path() + QLatin1Char('/') + name; }
};

} // namespace

TEST_F(FilesUtils, CreatesEveryMissingLevelPrivately)
{
    const QString nested = path(QStringLiteral("one/two/three"));
    EXPECT_TRUE(QOR_FilesUtils::createStandardFolder(nested));
    EXPECT_TRUE(QFileInfo(nested).isDir());
    for (const QString &level :
         {path(QStringLiteral("one")), path(QStringLiteral("one/two")), nested})
        EXPECT_EQ(modeOf(level), mode_t(0700)) << level.toStdString();
    // A folder that exists is left as it is.
    ASSERT_EQ(::chmod(QFile::encodeName(nested).constData(), 0755), 0);
    EXPECT_TRUE(QOR_FilesUtils::createStandardFolder(nested + QLatin1Char('/')));
    EXPECT_EQ(modeOf(nested), mode_t(0755));
    EXPECT_TRUE(QOR_FilesUtils::createStandardFolder(QStringLiteral("/")));
}

TEST_F(FilesUtils, AnExistingLockedFolderIsUnlocked)
{
    const QString folder = path(QStringLiteral("Locked"));
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(QOR_FilesUtils::setLockedLocked(folder, true), QOR_FilesUtils::StatusOK);
    ASSERT_TRUE(QOR_FilesUtils::isLocked(folder));
    EXPECT_TRUE(QOR_FilesUtils::createStandardFolder(folder));
    EXPECT_FALSE(QOR_FilesUtils::isLocked(folder));
}

TEST_F(FilesUtils, LockingTakesOnlyTheOwnersWritePermission)
{
    const QString file = path(QStringLiteral("note.txt"));
    writeFile(file, "x", 0664);
    EXPECT_FALSE(QOR_FilesUtils::isLocked(file));
    EXPECT_EQ(QOR_FilesUtils::setLockedLocked(file, true), QOR_FilesUtils::StatusOK);
    EXPECT_TRUE(QOR_FilesUtils::isLocked(file));
    EXPECT_EQ(modeOf(file), mode_t(0464));
    EXPECT_EQ(QOR_FilesUtils::setLockedLocked(file, true), QOR_FilesUtils::StatusOK);
    EXPECT_EQ(QOR_FilesUtils::setLockedLocked(file, false), QOR_FilesUtils::StatusOK);
    EXPECT_EQ(modeOf(file), mode_t(0664));

    // A link is judged by itself: its target keeps its permissions.
    const QString link = path(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(file, link));
    EXPECT_EQ(QOR_FilesUtils::setLockedLocked(link, true), QOR_FilesUtils::StatusOK);
    EXPECT_FALSE(QOR_FilesUtils::isLocked(file));

    EXPECT_FALSE(QOR_FilesUtils::isLocked(path(QStringLiteral("missing"))));
    EXPECT_EQ(QOR_FilesUtils::setLockedLocked(path(QStringLiteral("missing")), true),
              QOR_FilesUtils::StatusFileNotFound);
}

TEST(MountTable, ParsesEscapedPathsAndKeepsRealFileSystems)
{
    const QByteArray text = "26 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
                            "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
                            "60 26 0:40 / /run/user/1000 rw shared:5 master:2 - tmpfs tmpfs rw\n"
                            "61 26 8:17 / /media/me/My\\040Disk\\134x rw - vfat /dev/sdb1 rw\n"
                            "62 26 7:3 / /snap/core/123 ro - squashfs /dev/loop3 ro\n"
                            "63 26 254:0 /srv/shared /home/me/shared rw - ext4 /dev/vda rw\n"
                            "64 26 0:50 /@home /home rw - btrfs /dev/sda2 rw\n"
                            "65 26 0:51 / /mnt/files rw - nfs4 server:/export rw\n"
                            "66 26 0:52 / /home/me/pool rw - zfs rpool/home rw\n"
                            "67 26 0:53 / /mnt/odd\\04 rw - ext4 /dev/sdc1 rw\n"
                            "garbage line\n"
                            "68 26 0:54 / relative rw - ext4 /dev/sdd1 rw\n"
                            "\n";
    const QList<MountTable::Mount> mounts = MountTable::parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 10);
    EXPECT_EQ(mounts[3].mountPoint, QStringLiteral("/media/me/My Disk\\x"));
    EXPECT_EQ(mounts[3].source, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(mounts[3].fileSystemType, QStringLiteral("vfat"));
    EXPECT_EQ(mounts[3].device, QStringLiteral("8:17"));
    EXPECT_EQ(mounts[4].options, QStringLiteral("ro"));
    EXPECT_EQ(mounts[2].superOptions, QStringLiteral("rw"));
    EXPECT_EQ(mounts[2].mountPoint, QStringLiteral("/run/user/1000"));
    EXPECT_EQ(mounts[6].root, QStringLiteral("/@home"));
    // A backslash without three octal digits stays as it is.
    EXPECT_EQ(mounts[9].mountPoint, QStringLiteral("/mnt/odd\\04"));

    QStringList real;
    for (const MountTable::Mount &mount : MountTable::realFileSystems(mounts))
        real.append(mount.mountPoint);
    EXPECT_EQ(real,
              (QStringList{QStringLiteral("/"), QStringLiteral("/media/me/My Disk\\x"),
                           QStringLiteral("/home"), QStringLiteral("/mnt/files"),
                           QStringLiteral("/home/me/pool"), QStringLiteral("/mnt/odd\\04")}));
}

TEST_F(FilesUtils, RootsOfVolumes)
{
    EXPECT_TRUE(QOR_FilesUtils::isRootOfVolume(QString()));
    EXPECT_TRUE(QOR_FilesUtils::isRootOfVolume(QStringLiteral("/")));
    EXPECT_TRUE(QOR_FilesUtils::isRootOfVolume(QStringLiteral("//")));
    EXPECT_FALSE(QOR_FilesUtils::isRootOfVolume(QStringLiteral("/proc")));
    EXPECT_FALSE(QOR_FilesUtils::isRootOfVolume(home.path()));
}

TEST_F(FilesUtils, HiddenNamesFollowTheFileManagers)
{
    const QString dotted = path(QStringLiteral(".config-x"));
    const QString plain = path(QStringLiteral("plain"));
    const QString listed = path(QStringLiteral("listed"));
    const QString list = path(QStringLiteral(".hidden"));
    for (const QString &item : {dotted, plain, listed})
        writeFile(item, "x");
    writeFile(list, "listed\r\nother\n");

    EXPECT_FALSE(QOR_FilesUtils::isVisible(dotted));
    EXPECT_TRUE(QOR_FilesUtils::isVisible(plain));
    EXPECT_FALSE(QOR_FilesUtils::isVisible(listed));
    EXPECT_TRUE(QOR_FilesUtils::isVisible(path(QStringLiteral("missing"))));
    EXPECT_TRUE(QOR_FilesUtils::isVisible(QStringLiteral("/")));

    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(plain, true), QOR_FilesUtils::StatusOK);
    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(plain, false), QOR_FilesUtils::StatusOK);
    EXPECT_FALSE(QOR_FilesUtils::isVisible(plain));
    EXPECT_EQ(readFile(list), QByteArray("listed\nother\nplain\n"));

    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(listed, true), QOR_FilesUtils::StatusOK);
    EXPECT_TRUE(QOR_FilesUtils::isVisible(listed));
    EXPECT_EQ(readFile(list), QByteArray("other\nplain\n"));

    // A leading dot cannot be undone by a setting.
    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(dotted, true), QOR_FilesUtils::StatusBadName);
    EXPECT_FALSE(QOR_FilesUtils::isVisible(dotted));
    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(dotted, false), QOR_FilesUtils::StatusOK);
    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(path(QStringLiteral("missing")), false),
              QOR_FilesUtils::StatusFileNotFound);

    // The list goes away with its last name.
    writeFile(list, "plain\n");
    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(plain, true), QOR_FilesUtils::StatusOK);
    EXPECT_FALSE(QFileInfo::exists(list));
}

TEST_F(FilesUtils, HidingCreatesAListOthersCanRead)
{
    const QString folder = path(QStringLiteral("Shared"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString item = folder + QStringLiteral("/Report 2027.pdf");
    writeFile(item, "x");
    EXPECT_EQ(QOR_FilesUtils::setVisibleVisible(item, false), QOR_FilesUtils::StatusOK);
    EXPECT_EQ(readFile(folder + QStringLiteral("/.hidden")), QByteArray("Report 2027.pdf\n"));
    EXPECT_EQ(modeOf(folder + QStringLiteral("/.hidden")), mode_t(0644));
    EXPECT_FALSE(QOR_FilesUtils::isVisible(folder + QStringLiteral("/./Report 2027.pdf")));
}

TEST_F(FilesUtils, RecognisesApplications)
{
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("Editor.APP"))));
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("Folder"))));
    writeFile(path(QStringLiteral("editor.desktop")),
              "# comment\n[Desktop Entry]\nName=Editor\nType = Application\nExec=editor %F\n");
    writeFile(path(QStringLiteral("site.desktop")), "[Desktop Entry]\nType=Link\nURL=https://x\n");
    writeFile(path(QStringLiteral("late.desktop")),
              "[Desktop Entry]\nName=Late\n[Desktop Action new]\nType=Application\n");
    writeFile(path(QStringLiteral("tool")), "#!/bin/sh\necho hi\n", 0755);
    writeFile(path(QStringLiteral("notes.txt")), "text", 0644);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("tool")), path(QStringLiteral("tool-link"))));

    EXPECT_TRUE(QOR_FilesUtils::isApplication(path(QStringLiteral("Editor.APP"))));
    EXPECT_TRUE(QOR_FilesUtils::isApplication(path(QStringLiteral("Editor.APP/"))));
    EXPECT_TRUE(QOR_FilesUtils::isApplication(path(QStringLiteral("Missing.app"))));
    EXPECT_TRUE(QOR_FilesUtils::isApplication(path(QStringLiteral("editor.desktop"))));
    EXPECT_TRUE(QOR_FilesUtils::isApplication(path(QStringLiteral("tool"))));
    EXPECT_TRUE(QOR_FilesUtils::isApplication(path(QStringLiteral("tool-link"))));

    EXPECT_FALSE(QOR_FilesUtils::isApplication(path(QStringLiteral("site.desktop"))));
    EXPECT_FALSE(QOR_FilesUtils::isApplication(path(QStringLiteral("late.desktop"))));
    EXPECT_FALSE(QOR_FilesUtils::isApplication(path(QStringLiteral("notes.txt"))));
    EXPECT_FALSE(QOR_FilesUtils::isApplication(path(QStringLiteral("Folder"))));
    EXPECT_FALSE(QOR_FilesUtils::isApplication(path(QStringLiteral("missing"))));
    EXPECT_FALSE(QOR_FilesUtils::isApplication(QString()));
}

TEST(FilesUtilsProcesses, QueriesByBundlePathAndName)
{
    const QString editor = QStringLiteral("/opt/Tools/Editor.app");
    const QString gedit = QStringLiteral("/usr/share/applications/org.gnome.gedit.desktop");
    const FakeProcessTable table(
        {{10, QStringLiteral("editor"), editor, QStringLiteral("/opt/e")},
         {11, QStringLiteral("editor"), editor, QStringLiteral("/opt/e")},
         {12, QStringLiteral("gedit"), gedit, QStringLiteral("/usr/bin/gedit")},
         {13, QStringLiteral("ghost"), QString(), QString()}});

    EXPECT_EQ(QOR_FilesUtils::getListOfLaunchedProcess(table),
              (QStringList{editor, editor, gedit}));
    const QList<QVariantMap> dictionaries =
        QOR_FilesUtils::getListOfLaunchedProcessDictionary(table);
    ASSERT_EQ(dictionaries.size(), 3);
    EXPECT_EQ(dictionaries[2].value(QStringLiteral("BundlePath")).toString(), gedit);
    EXPECT_EQ(dictionaries[2].value(QStringLiteral("PID")).toLongLong(), 12);
    EXPECT_EQ(dictionaries[2].value(QStringLiteral("Name")).toString(), QStringLiteral("gedit"));

    const std::optional<QVariantMap> first =
        QOR_FilesUtils::getProcessInformationWithPath(editor, table);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->value(QStringLiteral("PID")).toLongLong(), 10);
    EXPECT_FALSE(QOR_FilesUtils::getProcessInformationWithPath(editor + QLatin1Char('/'), table));
    EXPECT_TRUE(QOR_FilesUtils::isProcessLaunchedWithPath(gedit, table));
    EXPECT_FALSE(QOR_FilesUtils::isProcessLaunchedWithPath(QString(), table));

    EXPECT_EQ(QOR_FilesUtils::numberOfProcessesLaunchedWithName(QStringLiteral("Editor"), table),
              2);
    EXPECT_EQ(
        QOR_FilesUtils::numberOfProcessesLaunchedWithName(QStringLiteral("Editor.app"), table), 2);
    EXPECT_EQ(QOR_FilesUtils::numberOfProcessesLaunchedWithName(QStringLiteral("editor"), table),
              0);
    // A desktop file id has dots of its own; its whole stem still names it.
    EXPECT_EQ(
        QOR_FilesUtils::numberOfProcessesLaunchedWithName(QStringLiteral("org.gnome.gedit"), table),
        1);
    EXPECT_EQ(QOR_FilesUtils::numberOfProcessesLaunchedWithName(gedit.section(QLatin1Char('/'), -1),
                                                                table),
              1);
    EXPECT_EQ(QOR_FilesUtils::numberOfProcessesLaunchedWithName(QStringLiteral("ghost"), table), 0);
    EXPECT_TRUE(QOR_FilesUtils::isProcessLaunchedWithName(QStringLiteral("Editor"), table));
    EXPECT_FALSE(QOR_FilesUtils::isProcessLaunchedWithName(QStringLiteral("org.gnome"), table));
}

TEST_F(FilesUtils, ProcTableTakesTheDesktopEntryOnlyForTheLaunchedProcess)
{
    const QString proc = path(QStringLiteral("proc"));
    const auto addProcess = [&](const QString &pid, const QString &exe, const QByteArray &environ) {
        const QString folder = proc + QLatin1Char('/') + pid;
        ASSERT_TRUE(QDir().mkpath(folder));
        if (!exe.isEmpty()) {
            ASSERT_TRUE(QFile::link(exe, folder + QStringLiteral("/exe")));
        }
        writeFile(folder + QStringLiteral("/environ"), environ);
    };
    const auto environ = [](std::initializer_list<const char *> variables) {
        QByteArray bytes;
        for (const char *variable : variables)
            bytes += QByteArray(variable) + '\0';
        return bytes;
    };
    const char *desktop = "GIO_LAUNCHED_DESKTOP_FILE=/usr/share/applications/term.desktop";
    addProcess(QStringLiteral("100"), QStringLiteral("/usr/bin/term"),
               environ({"HOME=/h", desktop, "GIO_LAUNCHED_DESKTOP_FILE_PID=100"}));
    // A shell started inside the terminal inherits the terminal's variables.
    addProcess(QStringLiteral("101"), QStringLiteral("/usr/bin/bash"),
               environ({desktop, "GIO_LAUNCHED_DESKTOP_FILE_PID=100", "SHLVL=1"}));
    addProcess(QStringLiteral("9"), QStringLiteral("/usr/bin/old (deleted)"), environ({desktop}));
    addProcess(QStringLiteral("102"), QString(), "");
    addProcess(QStringLiteral("self"), QStringLiteral("/usr/bin/term"), "");

    const QList<ProcessInfo> processes = ProcProcessTable(proc).processes();
    ASSERT_EQ(processes.size(), 3);
    EXPECT_EQ(processes[0],
              (ProcessInfo{9, QStringLiteral("old"),
                           QStringLiteral("/usr/share/applications/term.desktop"),
                           QStringLiteral("/usr/bin/old")}));
    EXPECT_EQ(processes[1].bundlePath, QStringLiteral("/usr/share/applications/term.desktop"));
    EXPECT_EQ(processes[1].name, QStringLiteral("term"));
    EXPECT_EQ(processes[2].bundlePath, QStringLiteral("/usr/bin/bash"));
    EXPECT_TRUE(ProcProcessTable(path(QStringLiteral("nothing"))).processes().isEmpty());
    // One process by its id reads as it does in the whole table.
    EXPECT_EQ(ProcProcessTable(proc).process(9), processes[0]);
    EXPECT_EQ(ProcProcessTable(proc).process(102), std::nullopt) << "no executable";
    EXPECT_EQ(ProcProcessTable(proc).process(103), std::nullopt);
}

TEST(FilesUtilsProcesses, TheRealTableShowsThisProcessAndADesktopLaunch)
{
    const QString ownExecutable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QList<ProcessInfo> processes = ProcessTable::system().processes();
    const auto own = std::find_if(processes.cbegin(), processes.cend(),
                                  [](const ProcessInfo &p) { return p.pid == ::getpid(); });
    ASSERT_NE(own, processes.cend());
    EXPECT_EQ(own->executable, ownExecutable);
    EXPECT_EQ(own->name, QFileInfo(ownExecutable).fileName());
    // Variables inherited from whatever started the test name another process.
    EXPECT_EQ(own->bundlePath, ownExecutable);
    EXPECT_TRUE(QOR_FilesUtils::isProcessLaunchedWithPath(ownExecutable));

    // A program started the way GIO starts a desktop entry is known by that entry.
    const QString entry = QStringLiteral("/tmp/korvale-test-%1.desktop").arg(::getpid());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GIO_LAUNCHED_DESKTOP_FILE"), entry);
    // Until the exec the shell only inherits the variables, naming another process.
    environment.insert(QStringLiteral("GIO_LAUNCHED_DESKTOP_FILE_PID"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("GIO_LAUNCHED_DESKTOP_FILE_PID=$$ exec /usr/bin/sleep 30")});
    ASSERT_TRUE(child.waitForStarted());
    const qint64 childPid = child.processId();
    std::optional<QVariantMap> info;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        info = QOR_FilesUtils::getProcessInformationWithPath(entry);
        if (info)
            break;
        QThread::msleep(20);
    }
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->value(QStringLiteral("PID")).toLongLong(), childPid);
    EXPECT_EQ(info->value(QStringLiteral("Name")).toString(), QStringLiteral("sleep"));
    EXPECT_EQ(QOR_FilesUtils::numberOfProcessesLaunchedWithName(QFileInfo(entry).fileName()), 1);
    ::kill(pid_t(childPid), SIGTERM);
    child.waitForFinished();
}

TEST_F(FilesUtils, ListsAFolderWithoutRegardToCase)
{
    const QString folder = path(QStringLiteral("List"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const char *name : {"b", "a", "C", ".hidden", "A", "Été"})
        writeFile(folder + QLatin1Char('/') + QString::fromUtf8(name), "x");
    ASSERT_TRUE(QDir().mkdir(folder + QStringLiteral("/Sub")));

    const std::optional<QStringList> names =
        QOR_FilesUtils::sortedContentsOfDirectoryAtPath(folder);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names,
              (QStringList{QStringLiteral(".hidden"), QStringLiteral("A"), QStringLiteral("a"),
                           QStringLiteral("b"), QStringLiteral("C"), QStringLiteral("Sub"),
                           QStringLiteral("Été")}));

    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("Empty"))));
    EXPECT_EQ(QOR_FilesUtils::sortedContentsOfDirectoryAtPath(path(QStringLiteral("Empty"))),
              QStringList());
    EXPECT_FALSE(QOR_FilesUtils::sortedContentsOfDirectoryAtPath(path(QStringLiteral("missing"))));
    EXPECT_FALSE(QOR_FilesUtils::sortedContentsOfDirectoryAtPath(folder + QStringLiteral("/b")));
}

TEST(FilesUtilsExecute, RunsToolsFromUsrBinWithoutAShell)
{
    CapturedLog log;
    EXPECT_FALSE(QOR_FilesUtils::executeWithArgs(QStringLiteral("echo"), {}));
    EXPECT_FALSE(QOR_FilesUtils::executeWithArgs(QStringLiteral("korvale-no-such-tool"),
                                                 {QStringLiteral("x")}));
    EXPECT_FALSE(
        QOR_FilesUtils::executeWithArgs(QStringLiteral("../bin/echo"), {QStringLiteral("x")}));
    EXPECT_FALSE(QOR_FilesUtils::executeWithArgs(QString(), {QStringLiteral("x")}));
    EXPECT_TRUE(log.lines().isEmpty());

    // Arguments reach the tool as they are: no shell splits or expands them.
    EXPECT_EQ(
        QOR_FilesUtils::executeWithArgs(
            QStringLiteral("echo"), {QStringLiteral("héllo  wörld"), QStringLiteral("$HOME;*")}),
        QStringLiteral("héllo  wörld $HOME;*\n"));
    // A tool that reads standard input gets an empty one instead of waiting for ours.
    EXPECT_EQ(QOR_FilesUtils::executeWithArgs(QStringLiteral("cat"), {QStringLiteral("-")}),
              QString());
    // A failing tool still answers with what it printed.
    EXPECT_EQ(QOR_FilesUtils::executeWithArgs(
                  QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo out; exit 3")}),
              QStringLiteral("out\n"));
    EXPECT_TRUE(log.lines().isEmpty());

    EXPECT_FALSE(QOR_FilesUtils::executeWithArgs(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("echo partial; kill -SEGV $$")}));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith(QStringLiteral("Exception sh -c: Crashed: ")))
        << log.lines()[0].toStdString();
}
