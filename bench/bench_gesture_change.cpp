// From the manager writing a changed double-tap modifier to the real agent opening its window on
// the new gesture, over 20 changes alternating Ctrl and Alt. Run it under scripts/with-session.sh:
// the agent draws on the display, the manager here off screen; both share the private session.
#include "BenchAgent.h"
#include "BenchUtils.h"

#include "KeyActivationSheet.h"
#include "MainController.h"
#include "QOR_StringUtils.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <cstdio>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using BenchAgent::state;
using BenchAgent::steadyNow;

// Keeps the event loop turning, so the manager answers the bus meanwhile.
template <typename Predicate> bool waitFor(Predicate predicate, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (predicate())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
    return predicate();
}

void tapTwice(Display *display, KeyCode key)
{
    for (int tap = 0; tap < 2; ++tap) {
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XSync(display, False);
        QThread::msleep(25);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XSync(display, False);
        if (tap == 0)
            QThread::msleep(25);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int changes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20;
    Display *display = XOpenDisplay(nullptr);
    if (!display || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        std::fprintf(stderr, "run under scripts/with-session.sh (needs X and a session bus)\n");
        return 2;
    }
    // The manager draws off screen; the agent it talks to is on the display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));

    QProcess agent;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    agent.setProcessEnvironment(environment);
    agent.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    agent.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon"), {});
    if (!agent.waitForStarted() || !waitFor([] { return !state().isEmpty(); }, 20000)) {
        std::fprintf(stderr, "the agent did not come up\n");
        return 1;
    }

    MainController::Environment managerEnvironment;
    managerEnvironment.interactive = false;
    managerEnvironment.version = QStringLiteral("bench");
    managerEnvironment.startProgram = [](const QString &) { return true; };
    MainController manager(managerEnvironment);
    manager.awakeFromNib();

    const KeyCode ctrl = XKeysymToKeycode(display, XK_Control_L);
    const KeyCode alt = XKeysymToKeycode(display, XK_Alt_L);
    const auto visible = [] { return state().value(QStringLiteral("visible")).toBool(); };
    std::vector<double> latencies;
    int missed = 0;
    KeyActivationSheet *sheet = manager.keyActivationSheet();
    for (int i = 0; i < changes; ++i) {
        const bool useCtrl = i % 2 == 0;
        qint64 written = 0;
        const auto connection = QObject::connect(sheet, &KeyActivationSheet::running, sheet, [&] {
            sheet->modifier()->setCurrentIndex(useCtrl ? 2 : 1);
            written = steadyNow();
            sheet->accept();
        });
        manager.changeKeyActivationSettings();
        QObject::disconnect(connection);

        // Tap the new modifier until the agent answers; it opens right after a second release.
        const bool opened = waitFor(
            [&] {
                tapTwice(display, useCtrl ? ctrl : alt);
                return waitFor(visible, 60);
            },
            5000);
        if (opened)
            latencies.push_back(
                double(state().value(QStringLiteral("openedAt")).toLongLong() - written) / 1e6);
        else
            ++missed;
        BenchAgent::call(QStringLiteral("Close"));
        waitFor([&] { return !visible(); }, 3000);
        waitFor([] { return false; }, 700); // this change's taps must not chain into the next
    }
    agent.terminate();
    agent.waitForFinished(5000);
    XCloseDisplay(display);

    const Bench::Stats s = Bench::stats(latencies);
    Bench::print("gesture_change_to_agent_median", s.median, "ms");
    Bench::print("gesture_change_to_agent_p95", s.p95, "ms");
    Bench::print("gesture_change_target_ratio", s.median / 1000.0, "x");
    Bench::print("gesture_changes_measured", double(latencies.size()), "count");
    Bench::print("gesture_changes_missed", double(missed), "count");
    return 0;
}
