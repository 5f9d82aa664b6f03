#include "ItemRecord.h"
#include "OpeningFixture.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString &P = ItemRecord::KeyPath;
constexpr QFile::Permissions ReadWrite = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions Executable = ReadWrite | QFile::ExeOwner;

class OpeningProgramsTest : public OpeningTest
{
protected:
    QString makeFileWith(const QString &relativePath, const QByteArray &contents,
                         QFile::Permissions permissions)
    {
        const QString path = makeFile(relativePath, contents);
        EXPECT_TRUE(QFile::setPermissions(path, permissions));
        return path;
    }
    QString copyOfTrue(const QString &relativePath)
    {
        QFile program(QStringLiteral("/bin/true"));
        EXPECT_TRUE(program.open(QIODevice::ReadOnly));
        return makeFileWith(relativePath, program.readAll(), Executable);
    }
    // Opens each path as a file item and as a pasteboard path, and waits for the launches.
    void openAll(const QStringList &paths)
    {
        for (const QString &path : paths) {
            mOpener->openItem(record(2, P, path), false);
            mOpener->openItem(record(10, P, path), false);
        }
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return mWorkspace.launched().size() + mWorkspace.opened().size()
                    == 2 * paths.size();
            },
            3000));
    }
};

QStringList twice(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths)
        result << path << path;
    return result;
}

} // namespace

// Only a real program is started; anything else, an executable text file or whatever sits on a
// file system that marks every file executable, is opened with its default application.
TEST_F(OpeningProgramsTest, OnlyRealProgramsAreLaunched)
{
    // A USB stick formatted FAT, as the mount table shows it: every file has the execute bits.
    const QString stick = mHome.path() + QStringLiteral("/media/STICK");
    mMounts.append({stick, QStringLiteral("vfat"), QStringLiteral("/dev/sdb1")});

    const QString elf = copyOfTrue(QStringLiteral("bin/tool"));
    const QString script =
        makeFileWith(QStringLiteral("bin/run.sh"), "#!/bin/sh\nexit 0\n", Executable);
    const QString entry = makeFileWith(QStringLiteral("apps/editor.desktop"),
                                       "[Desktop Entry]\nType=Application\nExec=true\n", ReadWrite);
    QDir().mkpath(mHome.path() + QStringLiteral("/apps/Tool.app"));
    const QString bundle = mHome.path() + QStringLiteral("/apps/Tool.app");
    const QString linkToElf = mHome.path() + QStringLiteral("/bin/tool-link");
    ASSERT_TRUE(QFile::link(elf, linkToElf));

    const QString text = makeFileWith(QStringLiteral("notes.txt"), "hello\n", Executable);
    const QString idleScript =
        makeFileWith(QStringLiteral("bin/draft.sh"), "#!/bin/sh\nexit 0\n", ReadWrite);
    const QString webLink =
        makeFileWith(QStringLiteral("apps/site.desktop"),
                     "[Desktop Entry]\nType=Link\nURL=http://a.b/\n", ReadWrite);
    const QString appNamedFile = makeFileWith(QStringLiteral("Notes.app"), "text", ReadWrite);
    const QString folder = mHome.path() + QStringLiteral("/bin");
    const QString elfOnStick = copyOfTrue(QStringLiteral("media/STICK/tool"));
    const QString scriptOnStick =
        makeFileWith(QStringLiteral("media/STICK/run.sh"), "#!/bin/sh\nexit 0\n", Executable);
    const QString textOnStick =
        makeFileWith(QStringLiteral("media/STICK/report.txt"), "text\n", Executable);
    // The link lives where permissions are kept, the program it leads to does not.
    const QString linkToStick = mHome.path() + QStringLiteral("/stick-tool");
    ASSERT_TRUE(QFile::link(elfOnStick, linkToStick));

    const QStringList programs = {elf, script, entry, bundle, linkToElf};
    const QStringList documents = {text,       idleScript,    webLink,     appNamedFile, folder,
                                   elfOnStick, scriptOnStick, textOnStick, linkToStick};
    openAll(programs + documents);
    EXPECT_EQ(mWorkspace.launched(), twice(programs));
    EXPECT_EQ(mWorkspace.opened(), twice(documents));
    // Each is confirmed once, when it was launched or handed over.
    for (const QString &path : programs + documents)
        EXPECT_EQ(mView.calls.count("open:" + path), 2) << path.toStdString();
    EXPECT_FALSE(mView.calls.join(' ').contains("failed:"));
}

TEST_F(OpeningProgramsTest, WhatDidNotStartIsSaidInsteadOfConfirmed)
{
    CapturedLog log;
    const QString script = makeFileWith(QStringLiteral("bin/run.sh"), "#!/bin/sh\n", Executable);
    const QString text = makeFile(QStringLiteral("notes.txt"));
    mWorkspace.setLaunchSucceeds(false);
    mWorkspace.setOpenSucceeds(false);

    mOpener->openItem(record(2, P, text), false);
    mOpener->openItem(record(2, P, script), false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return mView.calls.contains("failed:" + script); }, 2000));
    EXPECT_EQ(mView.calls.filter(QStringLiteral("failed:")),
              (QStringList{"failed:" + text, "failed:" + script}));
    EXPECT_TRUE(mView.calls.filter(QStringLiteral("open:")).isEmpty());
    EXPECT_EQ(log.lines(), QStringList{"Unable opening " + text + ": no application opens it"});
    EXPECT_EQ(mRecent.size(), 2) << "a failed opening is still a recent item";

    // Revealing is confirmed only when it happened too.
    mView.calls.clear();
    mOptionDown = true;
    mOpener->openItem(record(2, P, text), false);
    EXPECT_EQ(mView.calls.first(), "open:" + text);
}

// "H" on an item shortcut: once the item is opened, the other applications are minimised, all
// but the item's own running processes (the workspace always keeps the agent's).
TEST_F(OpeningProgramsTest, ShortcutsWithHideMinimiseTheOtherApplications)
{
    const QString entry = makeFileWith(QStringLiteral("apps/editor.desktop"),
                                       "[Desktop Entry]\nType=Application\nExec=true\n", ReadWrite);
    const QString document = makeFile(QStringLiteral("notes.txt"));
    mWorkspace.addProcess(41, entry);
    mWorkspace.addProcess(42, QStringLiteral("/usr/share/applications/other.desktop"));
    mWorkspace.addProcess(43, entry);

    mOpener->openItemFromShortcut(record(1, P, entry, {{"H", 1}}));
    mOpener->openItemFromShortcut(record(2, P, document, {{"H", 1}}));
    mOpener->openItemFromShortcut(record(1, P, entry, {{"H", 0}}));
    mOpener->openItemFromShortcut(record(2, P, document));
    EXPECT_EQ(mWorkspace.hidings(), (QList<QList<qint64>>{{41, 43}, {}}));
    EXPECT_EQ(mWorkspace.opened(), (QStringList{document, document}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mWorkspace.launched().size() == 2; }, 2000));
}
