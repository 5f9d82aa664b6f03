#include "E2eSupport.h"

#include "platform/DBusNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcessEnvironment>
#include <QTest>

#include <csignal>
#include <cstdio>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

bool haveDesktopSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        && !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")
        && QDBusConnection::sessionBus().isConnected();
}

AgentProcess::~AgentProcess()
{
    if (mProcess.state() == QProcess::NotRunning)
        return;
    // Every test ends the agent as the session does, and it must end cleanly each time.
    mProcess.terminate();
    if (!mProcess.waitForFinished(10000)) {
        ADD_FAILURE() << "the agent did not end within 10 s of SIGTERM";
        mProcess.kill();
        mProcess.waitForFinished(2000);
        return;
    }
    EXPECT_EQ(howItEnded(), "exit 0") << "after SIGTERM: " << log().toStdString();
}

void AgentProcess::start(const QStringList &extraEnvironment, const QString &program)
{
    if (const QStringList held = releaseHeldKeys(); !held.isEmpty())
        std::fprintf(stderr, "released what an earlier test left held: %s\n",
                     qPrintable(held.join(QLatin1String(", "))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The test program draws off screen; the agent must reach the display.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString &assignment : extraEnvironment) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        environment.insert(assignment.left(equals), assignment.mid(equals + 1));
    }
    mProcess.setProcessEnvironment(environment);
    mProcess.setProcessChannelMode(QProcess::MergedChannels);
    // As a session starts it, whatever the test runner ignores (`nohup` keeps SIGHUP ignored).
    mProcess.setChildProcessModifier([] { ::signal(SIGHUP, SIG_DFL); });
    mProcess.start(program.isEmpty() ? builtProgram(QStringLiteral("bin/korvale-daemon")) : program,
                   {});
}

bool AgentProcess::waitUntilReady(int ms)
{
    if (!mProcess.waitForStarted(5000))
        return false;
    return waitFor([] { return accessWindowState().contains(QStringLiteral("visible")); }, ms);
}

QString AgentProcess::log()
{
    mLog += mProcess.readAll();
    return QString::fromUtf8(mLog);
}

bool AgentProcess::terminateAndWait(int ms)
{
    mProcess.terminate();
    return waitForFinished(ms);
}

bool AgentProcess::waitForFinished(int ms)
{
    return mProcess.state() == QProcess::NotRunning || mProcess.waitForFinished(ms);
}

QString AgentProcess::howItEnded() const
{
    if (mProcess.state() != QProcess::NotRunning)
        return QStringLiteral("running");
    return mProcess.exitStatus() == QProcess::CrashExit
        ? QStringLiteral("signal %1").arg(mProcess.exitCode())
        : QStringLiteral("exit %1").arg(mProcess.exitCode());
}

QVariantMap instanceStatus(const QString &service)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/korvale/Instance"), QStringLiteral("org.korvale.Instance"),
        QStringLiteral("Status"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return DBusNotificationCenter::fromWire(reply.arguments().first()).toMap();
}

QVariantMap agentStatus()
{
    return instanceStatus(QStringLiteral("org.korvale.Daemon"));
}

QVariantMap accessWindowState()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/AccessWindow"),
        QStringLiteral("org.korvale.AccessWindow"), QStringLiteral("State"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return DBusNotificationCenter::fromWire(reply.arguments().first()).toMap();
}

bool callAccessWindow(const QString &method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/AccessWindow"),
        QStringLiteral("org.korvale.AccessWindow"), method);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 2000).type()
        == QDBusMessage::ReplyMessage;
}

void xdotool(const QStringList &arguments)
{
    // In the background while the event loop turns, so the agent's replies are not held up.
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

QStringList doubleTapOfSuper()
{
    return doubleTapOf(QStringLiteral("super"));
}

QStringList doubleTapOf(const QString &key)
{
    return {"keydown", key,       "sleep", "0.1",   "keyup", key,     "sleep",
            "0.1",     "keydown", key,     "sleep", "0.1",   "keyup", key};
}

void movePointerTo(int x, int y)
{
    Display *display = XOpenDisplay(nullptr);
    ASSERT_TRUE(display);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
}

QSize screenSize()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    const QSize size(DisplayWidth(display, DefaultScreen(display)),
                     DisplayHeight(display, DefaultScreen(display)));
    XCloseDisplay(display);
    return size;
}

QString activeWindowName()
{
    const ProgramRun run =
        runProgram(QStringLiteral("xdotool"), {"getactivewindow", "getwindowname"});
    return run.exitCode == 0 ? QString::fromUtf8(run.out).trimmed() : QString();
}

namespace {

QStringList heldKeys(Display *display, bool release)
{
    char keys[32];
    XQueryKeymap(display, keys);
    QStringList names;
    for (int code = 8; code < 256; ++code) {
        if (!(keys[code / 8] & (1 << (code % 8))))
            continue;
        const KeySym keysym = XkbKeycodeToKeysym(display, KeyCode(code), 0, 0);
        const char *name = XKeysymToString(keysym);
        names << (name ? QString::fromLatin1(name) : QString::number(code));
        if (release)
            XTestFakeKeyEvent(display, unsigned(code), False, CurrentTime);
    }
    XSync(display, False);
    return names;
}

} // namespace

QStringList releaseHeldKeys()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    QStringList names = heldKeys(display, true);
    // A menu of the window manager left open holds the keyboard; Escape closes it.
    if (XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync,
                      CurrentTime)
        == GrabSuccess) {
        XUngrabKeyboard(display, CurrentTime);
    } else {
        const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
        XTestFakeKeyEvent(display, escape, True, CurrentTime);
        XTestFakeKeyEvent(display, escape, False, CurrentTime);
        names << QStringLiteral("a keyboard grab (Escape sent)");
    }
    XSync(display, False);
    XCloseDisplay(display);
    return names;
}

std::string displayReport()
{
    QStringList held;
    if (Display *display = XOpenDisplay(nullptr)) {
        held = heldKeys(display, false);
        XCloseDisplay(display);
    }
    return QStringLiteral("active window: \"%1\", keys held: %2")
        .arg(activeWindowName(), held.isEmpty() ? QStringLiteral("none") : held.join(", "))
        .toStdString();
}

QStringList mappedFiles(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const QString path = QString::fromLocal8Bit(line.mid(line.indexOf('/')));
        const QString name = path.section('/', -1);
        if (line.contains('/') && !names.contains(name))
            names << name;
    }
    return names;
}

::testing::AssertionResult searchInAccessWindow(AgentProcess &agent, const QString &query)
{
    if (!callAccessWindow(QStringLiteral("Open")))
        return ::testing::AssertionFailure() << "no access window on the bus\n"
                                             << agent.log().toStdString();
    if (!waitFor([] { return accessWindowState().value("active").toBool(); }))
        return ::testing::AssertionFailure() << "the access window did not take the keyboard\n"
                                             << displayReport() << "\n"
                                             << agent.log().toStdString();
    xdotool({"type", "--delay", "40", query});
    if (waitFor([&] {
            const QVariantMap state = accessWindowState();
            return state.value("query") == query && !state.value("searchRunning").toBool();
        }))
        return ::testing::AssertionSuccess();
    const QVariantMap state = accessWindowState();
    return ::testing::AssertionFailure()
        << "the search did not settle on \"" << query.toStdString() << "\": query \""
        << state.value("query").toString().toStdString() << "\""
        << (state.value("searchRunning").toBool() ? ", searching" : "") << ", titles "
        << state.value("titles").toStringList().join(", ").toStdString() << "\n"
        << displayReport() << "\n"
        << agent.log().toStdString();
}
