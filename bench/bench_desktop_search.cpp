// Keystroke to rows with the desktop's search sources present: the agent's search and the
// sources' asker in this process, ten stand-in GNOME Shell providers served from another thread
// on the session bus, one of them answering after two seconds. Run under scripts/with-session.sh.
#include "BenchUtils.h"

#include "DesktopSearchRows.h"
#include "DesktopSearchStandIns.h"
#include "QOR_StringUtils.h"
#include "SearchController.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

constexpr int Providers = 10;
constexpr int SlowMs = 2000;
// Between keystrokes; brisk typing is 100 to 200 ms a key.
constexpr int TypingPauseMs = 80;

// The providers live on a thread of their own, as other programs would.
class ProviderThread : public QThread
{
public:
    void run() override
    {
        qDBusRegisterMetaType<QList<QVariantMap>>();
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench-providers");
        std::vector<std::unique_ptr<StandInProvider>> providers;
        for (int i = 0; i < Providers; ++i) {
            // The tests' stand-in, answering every text.
            providers.push_back(std::make_unique<StandInProvider>(QStringLiteral("bench%1").arg(i),
                                                                  i == 0 ? SlowMs : 0, QString()));
            bus.registerObject(QStringLiteral("/p%1").arg(i), providers.back().get(),
                               QDBusConnection::ExportAllSlots);
            bus.registerService(QStringLiteral("org.example.BenchProvider%1").arg(i));
        }
        ready = true;
        exec();
        QDBusConnection::disconnectFromBus("bench-providers");
    }
    std::atomic<bool> ready{false};
};

QList<DesktopSearchSource> sources()
{
    QList<DesktopSearchSource> list;
    for (int i = 0; i < Providers; ++i) {
        DesktopSearchSource source;
        source.key = QStringLiteral("gnome/bench%1.ini").arg(i);
        source.busName = QStringLiteral("org.example.BenchProvider%1").arg(i);
        source.objectPath = QStringLiteral("/p%1").arg(i);
        source.autoStart = false;
        source.name = QStringLiteral("Bench %1").arg(i);
        list.append(source);
    }
    return list;
}

SearchSources generatedLists(int records)
{
    SearchSources lists;
    for (int i = 0; i < records; ++i)
        lists.files.append(QVariantMap{
            {"x", 2},
            {"T", QStringLiteral("report %1 draft.odt").arg(i)},
            {"P",
             QStringLiteral("/home/user/Documents/%1/report %2 draft.odt").arg(i % 97).arg(i)}});
    return lists;
}

struct Figures {
    std::vector<double> toOwn;
    std::vector<double> toProvider;
};

// Each keystroke from searchFieldModified to the pass's items published, and (with providers)
// to the first provider's rows in the list. With a pause, the keystroke comes that long after the
// last one's rows, as typing does, so the other providers' answers to it are in; without, it
// comes at once, while they are still arriving.
Figures typeQueries(SearchController &search, bool providers, int runs, int offset, int pauseMs = 0)
{
    Figures figures;
    for (int i = 0; i < runs; ++i) {
        const QString query = QStringLiteral("report %1").arg(i + offset);
        if (pauseMs > 0) {
            QElapsedTimer paused;
            paused.start();
            while (paused.elapsed() < pauseMs)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                                int(pauseMs - paused.elapsed()));
        }
        while (search.isSearchRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QEventLoop loop;
        QElapsedTimer typed;
        double own = -1, rows = -1;
        const auto check = [&] {
            if (own < 0 && search.displayedQuery() == query)
                own = double(typed.nsecsElapsed()) / 1e6;
            if (rows < 0 && own >= 0 && search.desktopRowCount() > 0)
                rows = double(typed.nsecsElapsed()) / 1e6;
            if (own >= 0 && (!providers || rows >= 0))
                loop.quit();
        };
        const auto a =
            QObject::connect(&search, &SearchController::displayedListUpdated, &loop, check);
        const auto b =
            QObject::connect(&search, &SearchController::displayedRowsAppended, &loop, check);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        typed.start();
        search.searchFieldModified(query);
        check();
        if (own < 0 || (providers && rows < 0))
            loop.exec();
        QObject::disconnect(a);
        QObject::disconnect(b);
        figures.toOwn.push_back(own);
        if (providers)
            figures.toProvider.push_back(rows);
    }
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QOR_StringUtils::installTranslations(QLocale("en"));
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "needs a session bus: run under scripts/with-session.sh\n");
        return 1;
    }
    ProviderThread thread;
    thread.start();
    while (!thread.ready)
        QThread::msleep(5);

    const int runs = 101;
    const SearchSources lists = generatedLists(100000);
    SearchController plain([&lists] { return lists; });
    typeQueries(plain, false, 3, 0); // prepares the lists
    const Figures without = typeQueries(plain, false, runs, 10, TypingPauseMs);
    const Figures withoutAtOnce = typeQueries(plain, false, runs, 10);

    SearchController search([&lists] { return lists; });
    DesktopSearchRows rows(QDBusConnection::sessionBus());
    rows.setSources(sources());
    search.setDesktopSearchAsker([&rows](const QString &query) { rows.ask(query); });
    QObject::connect(&rows, &DesktopSearchRows::answered, &search,
                     &SearchController::showDesktopRows);
    typeQueries(search, true, 3, 0);
    const Figures with = typeQueries(search, true, runs, 10, TypingPauseMs);
    const Figures atOnce = typeQueries(search, true, runs, 10);

    const Bench::Stats ownWithout = Bench::stats(without.toOwn);
    const Bench::Stats ownWith = Bench::stats(with.toOwn);
    const Bench::Stats ownAtOnce = Bench::stats(atOnce.toOwn);
    const Bench::Stats ownWithoutAtOnce = Bench::stats(withoutAtOnce.toOwn);
    const Bench::Stats provider = Bench::stats(with.toProvider);
    Bench::print("desktop_search_own_rows_100000_without_providers_median", ownWithout.median,
                 "ms");
    Bench::print("desktop_search_own_rows_100000_without_providers_p95", ownWithout.p95, "ms");
    Bench::print("desktop_search_own_rows_100000_with_10_providers_median", ownWith.median, "ms");
    Bench::print("desktop_search_own_rows_100000_with_10_providers_p95", ownWith.p95, "ms");
    Bench::print("desktop_search_own_rows_100000_without_providers_at_once_median",
                 ownWithoutAtOnce.median, "ms");
    Bench::print("desktop_search_own_rows_100000_without_providers_at_once_p95",
                 ownWithoutAtOnce.p95, "ms");
    Bench::print("desktop_search_own_rows_100000_with_10_providers_answering_median",
                 ownAtOnce.median, "ms");
    Bench::print("desktop_search_own_rows_100000_with_10_providers_answering_p95", ownAtOnce.p95,
                 "ms");
    Bench::print("desktop_search_keystroke_to_provider_rows_median", provider.median, "ms");
    Bench::print("desktop_search_keystroke_to_provider_rows_p95", provider.p95, "ms");
    Bench::print("desktop_search_keystroke_to_provider_rows_p95_target", 50, "ms");
    thread.quit();
    thread.wait();
    return 0;
}
