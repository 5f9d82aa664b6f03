#pragma once

// Driving the real agent in a private session: starting it, pressing keys through XTest and
// asking it over the bus what its access window shows.
#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#define REQUIRE_SESSION()                                                                          \
    if (!haveDesktopSession())                                                                     \
    GTEST_SKIP() << "needs an X display and a session bus: run under scripts/with-session.sh"

bool haveDesktopSession();

template <typename Predicate> bool waitFor(Predicate predicate, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (predicate())
            return true;
        QTest::qWait(50);
    }
    return predicate();
}

// korvale-daemon on the real display (the test program itself draws off screen).
class AgentProcess
{
public:
    AgentProcess() = default;
    ~AgentProcess();
    AgentProcess(const AgentProcess &) = delete;
    AgentProcess &operator=(const AgentProcess &) = delete;

    // `program`: another copy of the agent than the build's (one where no module is found).
    void start(const QStringList &extraEnvironment = {}, const QString &program = {});
    // Its access window answers on the bus.
    bool waitUntilReady(int ms = 20000);
    QString log();
    qint64 pid() const { return mProcess.processId(); }
    // SIGTERM, as the session sends it when it ends; false when the agent is still there after
    // `ms`.
    bool terminateAndWait(int ms = 10000);
    bool waitForFinished(int ms = 10000);
    // How it ended: "exit 0", "exit 3", "signal 11"...
    QString howItEnded() const;

private:
    QProcess mProcess;
    QByteArray mLog;
};

// Status() of a program's one instance on the session bus (org.korvale.Instance); empty when it
// does not answer.
QVariantMap instanceStatus(const QString &service);
QVariantMap agentStatus();
// The files a process has mapped (libraries, fonts), by file name.
QStringList mappedFiles(qint64 pid);

// The access window's State() on the bus; empty when the agent does not answer.
QVariantMap accessWindowState();
bool callAccessWindow(const QString &method);

void xdotool(const QStringList &arguments);
QStringList doubleTapOfSuper();
// xdotool's steps for a double tap of `key` ("super", "ctrl"...).
QStringList doubleTapOf(const QString &key);
// The pointer to this place of the screen, through XTest; the screen's size.
void movePointerTo(int x, int y);
QSize screenSize();
// The title of the active window, as the window manager says.
QString activeWindowName();
// Lets go of every key still held on the display, through XTest, and closes a menu that holds
// the keyboard, and names what it found: the next test's letters must reach its window.
QStringList releaseHeldKeys();
// What the display shows a test that typed into nothing: the active window and the held keys.
std::string displayReport();
// Opens the access window over the bus, types `query` into it as a user would, and waits until
// its search has settled on that query; on failure, says what the window, the display and the
// agent showed.
::testing::AssertionResult searchInAccessWindow(AgentProcess &agent, const QString &query);
