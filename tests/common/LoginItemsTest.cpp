#include "TestEnvironment.h"
#include "platform/AutostartEntry.h"
#include "platform/QOR_AppUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LoginItems : public ::testing::Test
{
protected:
    TemporaryHome home;
    const QString autostart = home.path() + QStringLiteral("/.config/autostart");

    // A program file at PREFIX/bin/NAME below the home folder.
    QString program(const QString &prefix, const QString &name = QStringLiteral("korvale-daemon"))
    {
        const QString bin = home.path() + QLatin1Char('/') + prefix + QStringLiteral("/bin");
        EXPECT_TRUE(QDir().mkpath(bin));
        QFile file(bin + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return file.fileName();
    }

    void writeEntry(const QString &name, const QByteArray &contents)
    {
        ASSERT_TRUE(QDir().mkpath(autostart));
        QFile file(autostart + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
};

} // namespace

TEST_F(LoginItems, TheAgentEntryIsWrittenFoundAndRemoved)
{
    const QString agent = program(QStringLiteral("Korvale Suite"));
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(agent));
    EXPECT_TRUE(QOR_AppUtils::addToLoginItems(agent, false));

    const QString entry = autostart + QStringLiteral("/org.korvale.Daemon.desktop");
    EXPECT_EQ(readFile(entry),
              "[Desktop Entry]\nType=Application\nName=Korvale\nExec=\"" + agent.toUtf8()
                  + "\"\nX-GNOME-Autostart-enabled=true\n"
                    "X-Korvale-LoginItem=true\n");
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(agent));
    EXPECT_EQ(QOR_AppUtils::loginItems(),
              (QList<LoginItem>{{agent, QStringLiteral("korvale-daemon"), entry, true}}));
    EXPECT_FALSE(QOR_AppUtils::addToLoginItems(agent, false));

    // Turned off from the desktop's settings: no longer a login item, and written again.
    writeEntry(QStringLiteral("org.korvale.Daemon.desktop"),
               AutostartEntry::contentsFor(agent).replace("enabled=true", "enabled=false"));
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(agent));
    EXPECT_TRUE(QOR_AppUtils::addToLoginItems(agent, true));
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(agent));

    QOR_AppUtils::removeFromLoginItems(agent);
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(agent));
}

TEST_F(LoginItems, EntriesOfOtherProgramsAreReadButNeverRewrittenOrRemoved)
{
    const QString agent = program(QStringLiteral("mine"));
    const QString otherCopy = program(QStringLiteral("other"));
    const QByteArray foreignSameName =
        "[Desktop Entry]\nType=Application\nName=Mine\nExec=/usr/bin/env korvale-daemon\n";
    writeEntry(QStringLiteral("org.korvale.Daemon.desktop"), foreignSameName);
    {
        CapturedLog log;
        EXPECT_FALSE(QOR_AppUtils::addToLoginItems(agent, false));
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(
            log.lines().at(0).contains("org.korvale.Daemon.desktop belongs to another program"));
    }
    EXPECT_EQ(readFile(autostart + QStringLiteral("/org.korvale.Daemon.desktop")), foreignSameName);

    // The user's own entries count as login items, under any name; a bare name is looked up in
    // PATH; entries switched off or hidden do not count.
    ScopedEnvironment path{{"PATH", QFile::encodeName(QFileInfo(otherCopy).path()).constData()}};
    writeEntry(QStringLiteral("by-hand.desktop"),
               "[Desktop Entry]\nType=Application\nExec=\"" + agent.toUtf8() + "\" --quiet\n");
    writeEntry(QStringLiteral("bare.desktop"), "[Desktop Entry]\nExec=korvale-daemon %U\n");
    writeEntry(QStringLiteral("hidden.desktop"),
               "[Desktop Entry]\nHidden=true\nExec=" + program("third").toUtf8() + "\n");
    writeEntry(QStringLiteral("gone.desktop"), "[Desktop Entry]\nExec=/no/such/korvale-daemon\n");
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(agent));
    EXPECT_EQ(QOR_AppUtils::extraOccurencesInLoginItems(agent), (QStringList{otherCopy}));
    EXPECT_EQ(QOR_AppUtils::extraOccurencesInLoginItems(otherCopy), (QStringList{agent}));

    const QByteArray byHand = readFile(autostart + QStringLiteral("/by-hand.desktop"));
    QOR_AppUtils::removeFromLoginItems(agent);
    EXPECT_EQ(readFile(autostart + QStringLiteral("/by-hand.desktop")), byHand);
    EXPECT_EQ(QDir(autostart).entryList(QDir::Files).size(), 5);
}

// Older versions named the agent's entry after the program; the desktop portal matches the
// application id the agent gives with the entry's name, so the suite's older entry is renamed,
// keeping its program and its switch, and a foreign entry of the older name stays.
TEST_F(LoginItems, TheAgentsOlderEntryTakesTheApplicationIdsName)
{
    const QString agent = program(QStringLiteral("suite"));
    writeEntry(QStringLiteral("korvale-daemon.desktop"),
               AutostartEntry::contentsFor(agent).replace("enabled=true", "enabled=false"));
    QOR_AppUtils::renameOlderEntry(agent);
    EXPECT_FALSE(QFileInfo::exists(autostart + QStringLiteral("/korvale-daemon.desktop")));
    const AutostartEntry renamed =
        AutostartEntry::read(autostart + QStringLiteral("/org.korvale.Daemon.desktop"));
    EXPECT_EQ(renamed.program, agent);
    EXPECT_TRUE(renamed.writtenByKorvale);
    EXPECT_FALSE(renamed.enabled);

    // Turned on from the manager: today's entry, and no second one.
    writeEntry(QStringLiteral("korvale-daemon.desktop"), AutostartEntry::contentsFor(agent));
    EXPECT_TRUE(QOR_AppUtils::addToLoginItems(agent, false));
    EXPECT_EQ(QDir(autostart).entryList(QDir::Files),
              QStringList{QStringLiteral("org.korvale.Daemon.desktop")});
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(agent));

    const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=korvale-daemon\n";
    writeEntry(QStringLiteral("korvale-daemon.desktop"), foreign);
    QOR_AppUtils::renameOlderEntry(agent);
    EXPECT_EQ(readFile(autostart + QStringLiteral("/korvale-daemon.desktop")), foreign);
}

TEST_F(LoginItems, ExecQuotingKeepsAwkwardPathsWhole)
{
    EXPECT_EQ(AutostartEntry::execValue(QStringLiteral("/opt/a b/c\"$`\\%d")),
              "\"/opt/a b/c\\\\\"\\\\$\\\\`\\\\\\\\%%d\"");
    for (const QString &path :
         {QStringLiteral("/opt/a b/korvale-daemon"), QStringLiteral("/tmp/\"quoted\" $HOME `x`"),
          QStringLiteral("/tmp/back\\slash\\"), QStringLiteral("/tmp/100%% %f"),
          QStringLiteral("/tmp/line\nbreak\ttab\r"), QString::fromUtf8("/tmp/Épreuve ✓")}) {
        const AutostartEntry entry =
            AutostartEntry::fromContents(AutostartEntry::contentsFor(path), QStringLiteral("e"));
        EXPECT_EQ(entry.program, path);
        EXPECT_TRUE(entry.enabled && entry.writtenByKorvale);
    }
}

TEST_F(LoginItems, TheAgentOfTheSessionIsAnotherCopyOnlyWhenItRunsFromAnotherPath)
{
    const QString agent = program(QStringLiteral("suite"));
    // The same agent reached through a link: the kernel names it with links resolved.
    const QString linked = home.path() + QStringLiteral("/linked");
    ASSERT_TRUE(QFile::link(home.path() + QStringLiteral("/suite"), linked));
    const QString throughLink = linked + QStringLiteral("/bin/korvale-daemon");
    const QString running = QFileInfo(agent).canonicalFilePath();

    EXPECT_EQ(QOR_AppUtils::otherCopyOfAgent(throughLink, running), QString());
    EXPECT_EQ(QOR_AppUtils::otherCopyOfAgent(agent, running), QString());
    EXPECT_EQ(QOR_AppUtils::otherCopyOfAgent(agent, QString()), QString())
        << "an agent whose executable cannot be known is not named as another copy";
    EXPECT_EQ(QOR_AppUtils::otherCopyOfAgent(agent, "/opt/Other Copy/bin/korvale-daemon"),
              "/opt/Other Copy");
    EXPECT_EQ(QOR_AppUtils::otherCopyOfAgent(throughLink, "/opt/Other Copy/bin/korvale-daemon"),
              "/opt/Other Copy");
}
