// The stock survey over 50 entries against a quote server on the loopback address (its own
// thread): the agent's controller and survey as the agent runs them, in a private temporary home,
// off screen. Each pass is the periodic one with no entry due, so all 50 quotes are read, and each
// text differs from the last pass's, so the pass saves the list; the time runs from the request
// to the values saved and handed back. A 1 ms heartbeat on the main thread
// gives the longest stall during each pass.
#include "BenchMainThread.h"
#include "BenchUtils.h"
#include "LoopbackQuotes.h"

#include "AgentStocks.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdlib>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(name, (home.path() + '/' + name).toUtf8());
    QApplication app(argc, argv);

    constexpr int Entries = 50;
    constexpr int Runs = 21;

    QThread serverThread;
    serverThread.start();
    QObject serverContext;
    serverContext.moveToThread(&serverThread);
    LoopbackQuotes *web = nullptr;
    QMetaObject::invokeMethod(
        &serverContext, [&web] { web = new LoopbackQuotes; }, Qt::BlockingQueuedConnection);

    QVariantList list;
    for (int i = 0; i < Entries; ++i) {
        const QString path = QStringLiteral("/q%1").arg(i);
        QMetaObject::invokeMethod(
            &serverContext,
            [web, path, i] {
                web->quote(path, QStringLiteral("S%1,%2.5,x\r\n").arg(i).arg(100 + i).toLatin1());
            },
            Qt::BlockingQueuedConnection);
        list.append(QVariantMap{{"x", 7},
                                {"T", QStringLiteral("Stock %1").arg(i)},
                                {"StockURL", web->url(path)},
                                {"ValMin", "100000"},
                                {"ValMax", "0"},
                                {"ValLast", "???"},
                                {"ValLastShown", QStringLiteral("%1.5").arg(100 + i)}});
    }

    DaemonController::Environment environment;
    environment.hooks = std::make_shared<DaemonHooks>();
    environment.notifications = NotificationCenter::createLocalCenter();
    environment.quitApplication = [] {};
    DaemonController controller(std::move(environment));
    controller.lists().mListOfStocksSurvey = list;
    AgentStocks stocks(controller);

    std::vector<double> passes;
    std::vector<double> stalls;
    std::vector<double> readingStalls; // until the hand-back
    for (int run = 0; run <= Runs; ++run) {
        // The value stays, the time field moves: every pass stores new texts and saves them.
        QMetaObject::invokeMethod(
            &serverContext,
            [web, run] {
                for (int i = 0; i < Entries; ++i)
                    web->quote(
                        QStringLiteral("/q%1").arg(i),
                        QStringLiteral("S%1,%2.5,%3\r\n").arg(i).arg(100 + i).arg(run).toLatin1());
            },
            Qt::BlockingQueuedConnection);
        QElapsedTimer clock;
        Bench::Heartbeat heartbeat;
        bool done = false;
        double longestBeforeHandBack = 0;
        const QMetaObject::Connection finished =
            QObject::connect(&stocks.survey(), &StockSurvey::passFinished, [&] {
                done = true;
                longestBeforeHandBack = heartbeat.longest();
            });
        clock.start();
        heartbeat.start();
        stocks.surveyStocks();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        // The hand-back runs on the main thread right after the pass.
        QCoreApplication::processEvents();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const double longest = heartbeat.stop();
        QObject::disconnect(finished);
        if (run == 0)
            continue; // cold: the first connection, the first save
        passes.push_back(ms);
        stalls.push_back(longest);
        readingStalls.push_back(longestBeforeHandBack);
    }

    // For comparison: the same heartbeat over as long with nothing to do, which is what a loaded
    // machine's scheduling alone costs; and the hand-back alone (the values applied to the agent's
    // list; the pass saved them on its own thread).
    std::vector<double> idleStalls;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        Bench::Heartbeat heartbeat;
        clock.start();
        heartbeat.start();
        const double until = Bench::stats(passes).median;
        while (double(clock.nsecsElapsed()) / 1e6 < until)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        idleStalls.push_back(heartbeat.stop());
    }
    const std::vector<double> handBacks = Bench::timeRuns(Runs, [&] {
        const QVariantList started = controller.lists().mListOfStocksSurvey;
        QVariantList ended = started;
        for (QVariant &entry : ended) {
            QVariantMap record = entry.toMap();
            record.insert("ValLast", record.value("ValLast").toString() + "+");
            entry = record;
        }
        stocks.replaceStockSurvey(started, ended);
    });

    const Bench::Stats pass = Bench::stats(passes);
    const Bench::Stats stall = Bench::stats(stalls);
    Bench::print("stocks_pass_50_entries_median", pass.median, "ms");
    Bench::print("stocks_pass_50_entries_p95", pass.p95, "ms");
    Bench::print("stocks_pass_main_thread_longest_stall_median", stall.median, "ms");
    Bench::print("stocks_pass_main_thread_longest_stall_p95", stall.p95, "ms");
    const Bench::Stats reading = Bench::stats(readingStalls);
    Bench::print("stocks_pass_reading_longest_stall_median", reading.median, "ms");
    Bench::print("stocks_pass_reading_longest_stall_p95", reading.p95, "ms");
    const Bench::Stats idle = Bench::stats(idleStalls);
    Bench::print("idle_main_thread_longest_stall_median", idle.median, "ms");
    Bench::print("idle_main_thread_longest_stall_p95", idle.p95, "ms");
    const Bench::Stats handBack = Bench::stats(handBacks);
    Bench::print("stocks_hand_back_median", handBack.median, "ms");
    Bench::print("stocks_hand_back_p95", handBack.p95, "ms");

    QMetaObject::invokeMethod(
        &serverContext, [web] { delete web; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
