// From the bus toggle to the access window painted and holding the keyboard, over 30 openings of
// the real agent: in headless Wayland sessions (weston, and sway for a wlroots desktop, both with
// XWayland) and on Xvfb with openbox, in the same run. Without arguments it runs itself under each
// session script; with
// `--session NAME [OPENINGS]` it measures the session it runs in.
#include "BenchAgent.h"
#include "BenchUtils.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

using BenchAgent::call;
using BenchAgent::state;
using BenchAgent::steadyNow;

template <typename Predicate> bool waitFor(Predicate predicate, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (predicate())
            return true;
        QThread::usleep(500);
    }
    return false;
}

struct Opening {
    qint64 painted = 0;
    qint64 activated = 0;
};

// The agent's own steady-clock times of the opening's first paint and of its activation; nothing
// until both came after `since`.
std::optional<Opening> paintedAndFocused(qint64 since)
{
    const QVariantMap now = state();
    const Opening opening{now.value(QStringLiteral("paintedAt")).toLongLong(),
                          now.value(QStringLiteral("activatedAt")).toLongLong()};
    if (!now.value(QStringLiteral("active")).toBool() || opening.painted < since
        || opening.activated < since)
        return std::nullopt;
    return opening;
}

void printStats(const QByteArray &name, const std::vector<double> &samples)
{
    const Bench::Stats stats = Bench::stats(samples);
    Bench::print((name + "_median").constData(), stats.median, "ms");
    Bench::print((name + "_p95").constData(), stats.p95, "ms");
}

int measure(const QString &session, int openings)
{
    QProcess agent;
    agent.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    agent.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon"), {});
    if (!agent.waitForStarted() || !waitFor([] { return !state().isEmpty(); }, 20000)) {
        std::fprintf(stderr, "the agent did not come up\n");
        return 1;
    }
    // Past the start-up scan; a first opening fills the results the later ones show again.
    QThread::msleep(1500);
    call(QStringLiteral("Toggle"));
    waitFor([] { return state().value(QStringLiteral("active")).toBool(); }, 5000);
    call(QStringLiteral("Toggle"));

    std::vector<double> latencies;
    std::vector<double> paints;
    std::vector<double> activations;
    int missed = 0;
    for (int i = 0; i < openings; ++i) {
        // Past the closing's fade and the agent's hiding: each opening maps the window anew.
        QThread::msleep(1200);
        const qint64 asked = steadyNow();
        call(QStringLiteral("Toggle"));
        std::optional<Opening> opening;
        if (waitFor([&] { return (opening = paintedAndFocused(asked)).has_value(); }, 3000)) {
            latencies.push_back(double(std::max(opening->painted, opening->activated) - asked)
                                / 1e6);
            paints.push_back(double(opening->painted - asked) / 1e6);
            activations.push_back(double(opening->activated - asked) / 1e6);
        } else {
            ++missed;
        }
        call(QStringLiteral("Toggle"));
    }
    agent.terminate();
    agent.waitForFinished(10000);

    const QByteArray name = session.toUtf8();
    printStats("bus_toggle_to_painted_and_focused_" + name, latencies);
    // Its two halves, to see which one a session slows down.
    printStats("bus_toggle_to_painted_" + name, paints);
    printStats("bus_toggle_to_focused_" + name, activations);
    Bench::print(("bus_toggle_to_painted_and_focused_" + name + "_missed").constData(), missed,
                 "openings");
    return 0;
}

// Runs this program under a session script and passes its figures on; the p95 it printed.
double runUnder(const QString &script, const QString &session, int openings)
{
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(QStringLiteral(KORVALE_SOURCE_DIR "/scripts/") + script,
              {QCoreApplication::applicationFilePath(), QStringLiteral("--session"), session,
               QString::number(openings)});
    run.waitForFinished(-1);
    const QString output = QString::fromUtf8(run.readAllStandardOutput());
    std::fputs(output.toUtf8().constData(), stdout);
    std::fflush(stdout);
    const QRegularExpressionMatch p95 =
        QRegularExpression(QStringLiteral("painted_and_focused_[a-z0-9]+_p95: ([0-9.]+) ms"))
            .match(output);
    return p95.hasMatch() ? p95.captured(1).toDouble() : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 2 && arguments.at(1) == QLatin1String("--session"))
        return measure(arguments.at(2), arguments.size() > 3 ? arguments.at(3).toInt() : 30);

    const int openings = arguments.size() > 1 ? arguments.at(1).toInt() : 30;
    const double x11 = runUnder(QStringLiteral("with-session.sh"), QStringLiteral("x11"), openings);
    const double wayland =
        runUnder(QStringLiteral("with-wayland-session.sh"), QStringLiteral("wayland"), openings);
    const double sway =
        runUnder(QStringLiteral("with-sway-session.sh"), QStringLiteral("sway"), openings);
    if (x11 < 0 || wayland < 0 || sway < 0)
        return 1;
    Bench::print("bus_toggle_p95_wayland_minus_x11", wayland - x11, "ms");
    Bench::print("bus_toggle_p95_sway_minus_x11", sway - x11, "ms");
    Bench::print("bus_toggle_p95_minus_x11_target", 5, "ms");
    return 0;
}
