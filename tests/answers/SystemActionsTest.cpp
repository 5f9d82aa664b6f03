#include "SessionStandIns.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "SystemActionAnswers.h"
#include "SystemActionRunner.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using Action = SessionActions::Action;

// The stand-ins on the test's private session bus, on a connection and a thread of their own so
// that the calls under test, blocking or not, are answered while the test waits. The code under
// test is handed that bus as the system bus too: the machine's own login1 is never reached.
class StandIns
{
public:
    explicit StandIns(QHash<QString, QString> can, bool desktopServices = true)
        : mLogin1(mRecord, std::move(can))
        , mScreenSaver(mRecord)
        , mGnome(mRecord)
        , mEditor("org.gnome.TextEditor.desktop", "Unsaved document", 1)
        , mPlayer("org.gnome.Music.desktop", "Playing", 4)
        , mBus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "session-stand-ins"))
    {
        mThread.start();
        for (QObject *object :
             {static_cast<QObject *>(&mLogin1), static_cast<QObject *>(&mScreenSaver),
              static_cast<QObject *>(&mGnome), static_cast<QObject *>(&mEditor),
              static_cast<QObject *>(&mPlayer)})
            object->moveToThread(&mThread);
        serve(SessionActions::Login1Service, "/org/freedesktop/login1", &mLogin1);
        if (desktopServices) {
            serve(SessionActions::ScreenSaverService, "/org/freedesktop/ScreenSaver",
                  &mScreenSaver);
            EXPECT_TRUE(mBus.registerObject("/org/gnome/SessionManager/Inhibitor1", &mEditor,
                                            QDBusConnection::ExportAllSlots));
            EXPECT_TRUE(mBus.registerObject("/org/gnome/SessionManager/Inhibitor2", &mPlayer,
                                            QDBusConnection::ExportAllSlots));
            serve(SessionActions::GnomeSessionService, "/org/gnome/SessionManager", &mGnome);
        }
    }
    ~StandIns()
    {
        for (const QString &service : std::as_const(mServices))
            mBus.unregisterService(service);
        QDBusConnection::disconnectFromBus("session-stand-ins");
        mThread.quit();
        mThread.wait();
        for (QObject *object :
             {static_cast<QObject *>(&mLogin1), static_cast<QObject *>(&mScreenSaver),
              static_cast<QObject *>(&mGnome), static_cast<QObject *>(&mEditor),
              static_cast<QObject *>(&mPlayer)})
            object->moveToThread(QThread::currentThread());
    }

    std::shared_ptr<const SessionActions> actions() const
    {
        return std::make_shared<const SessionActions>(QDBusConnection::sessionBus(),
                                                      QDBusConnection::sessionBus());
    }
    QStringList calls() const { return mRecord.calls(); }
    bool waitForCalls(int count) const
    {
        return QTest::qWaitFor([&] { return mRecord.calls().size() >= count; });
    }

private:
    void serve(const QString &service, const QString &path, QObject *object)
    {
        EXPECT_TRUE(mBus.registerObject(path, object, QDBusConnection::ExportAllSlots));
        EXPECT_TRUE(mBus.registerService(service)) << service.toStdString();
        mServices << service;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(service);
        }));
    }

    CallRecord mRecord;
    Login1StandIn mLogin1;
    ScreenSaverStandIn mScreenSaver;
    GnomeSessionStandIn mGnome;
    GnomeInhibitorStandIn mEditor;
    GnomeInhibitorStandIn mPlayer;
    QThread mThread;
    QDBusConnection mBus;
    QStringList mServices;
};

QStringList titles(SystemActionAnswers &family, const QString &query)
{
    QStringList result;
    for (const QVariantMap &row : family.answer(query, 50))
        result << row.value(ItemRecord::KeyTitle).toString();
    return result;
}

} // namespace

TEST(SystemActions, FoundByNameAndCommonWordsAndOfferedOnlyWhereLogin1Allows)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    StandIns standIns({{"CanSuspend", "yes"},
                       {"CanHibernate", "no"},
                       {"CanReboot", "challenge"},
                       {"CanPowerOff", "na"}});
    SystemActionAnswers family(standIns.actions());
    EXPECT_EQ(titles(family, "sleep"), QStringList{"Suspend"});
    EXPECT_EQ(titles(family, "reb"), QStringList{"Restart"});
    EXPECT_EQ(titles(family, "hibernate"), QStringList());
    EXPECT_EQ(titles(family, "power off"), QStringList());
    EXPECT_EQ(titles(family, "lo"), QStringList({"Lock Screen", "Log Out"}));
    EXPECT_EQ(titles(family, "screen"), QStringList{"Lock Screen"});
    EXPECT_EQ(titles(family, "l"), QStringList());
    EXPECT_EQ(titles(family, "quokka"), QStringList());
    const QVariantMap row = family.answer("sleep", 50).first();
    EXPECT_EQ(row.value(AnswerRecord::KeySystemAction).toString(), "suspend");
    // Nothing was asked to happen by being found.
    EXPECT_TRUE(standIns.calls().isEmpty());

    QOR_StringUtils::installTranslations(QLocale("fr"));
    SystemActionAnswers french(standIns.actions());
    EXPECT_EQ(titles(french, "redem"), QStringList{"Redémarrer"});
    EXPECT_EQ(titles(french, "veille"), QStringList{"Mettre en veille"});
    QOR_StringUtils::installTranslations(QLocale("en"));
}

TEST(SystemActions, ThoseThatEndProgramsAreConfirmedAndEachGoesToItsService)
{
    StandIns standIns({{"CanSuspend", "yes"}, {"CanReboot", "yes"}});
    QList<Action> asked;
    QStringList holding;
    bool accept = false;
    SystemActionRunner runner(standIns.actions(), [&](Action action, const QStringList &programs) {
        asked << action;
        if (action == Action::LogOut)
            holding = programs;
        return accept;
    });
    EXPECT_FALSE(runner.run("logout"));
    EXPECT_FALSE(runner.run("shutdown"));
    accept = true;
    EXPECT_TRUE(runner.run("restart"));
    EXPECT_TRUE(runner.run("suspend"));
    EXPECT_TRUE(runner.run("lock"));
    EXPECT_TRUE(runner.run("logout"));
    EXPECT_FALSE(runner.run("dance"));
    ASSERT_TRUE(standIns.waitForCalls(4));
    // The refused ones were sent nowhere: they would have come first, from the same connection.
    EXPECT_EQ(standIns.calls(),
              QStringList({"login1 Reboot true interactive", "login1 Suspend true interactive",
                           "ScreenSaver Lock", "GNOME Logout 1"}));
    EXPECT_EQ(asked,
              QList<Action>({Action::LogOut, Action::ShutDown, Action::Restart, Action::LogOut}));
    // The desktop's word on who holds the logout back, the suspend's holder left out.
    EXPECT_EQ(holding, QStringList{"org.gnome.TextEditor: Unsaved document"});
}

TEST(SystemActions, WithoutAScreenSaverOrSessionManagerLogin1LocksAndEndsTheSession)
{
    qputenv("XDG_SESSION_ID", "c7");
    StandIns standIns({}, false);
    SystemActionRunner runner(
        standIns.actions(), [](Action, const QStringList &programs) { return programs.isEmpty(); });
    SystemActionAnswers family(standIns.actions());
    EXPECT_EQ(titles(family, "sleep"), QStringList());
    EXPECT_TRUE(runner.run("lock"));
    EXPECT_TRUE(runner.run("logout"));
    ASSERT_TRUE(standIns.waitForCalls(2));
    EXPECT_EQ(standIns.calls(),
              QStringList({"login1 LockSession c7", "login1 TerminateSession c7"}));
    qunsetenv("XDG_SESSION_ID");
}
