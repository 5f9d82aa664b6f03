// Keystroke to answer: the agent's search and answer engine in this process, the calculator
// through its real module, over lists large enough that the pass takes its own time.
#include "BenchUtils.h"

#include "AnswerEngine.h"
#include "CalculatorAnswers.h"
#include "SearchController.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

SearchSources generatedLists(int records)
{
    SearchSources sources;
    for (int i = 0; i < records; ++i)
        sources.files.append(QVariantMap{
            {"x", 2},
            {"T", QStringLiteral("report %1 draft.odt").arg(i)},
            {"P",
             QStringLiteral("/home/user/Documents/%1/report %2 draft.odt").arg(i % 97).arg(i)}});
    return sources;
}

// Runs the event loop until done() holds; the time from start in milliseconds.
double timeUntil(const std::function<void()> &start, SearchController &search,
                 const std::function<bool()> &done)
{
    QEventLoop loop;
    QElapsedTimer timer;
    const auto check = [&] {
        if (done())
            loop.quit();
    };
    const QMetaObject::Connection connection =
        QObject::connect(&search, &SearchController::displayedListUpdated, &loop, check);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    timer.start();
    start();
    if (!done())
        loop.exec();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QObject::disconnect(connection);
    return ms;
}

struct Figures {
    std::vector<double> toAnswer;
    std::vector<double> toFound;
};

Figures typeQueries(SearchController &search, bool answers, int runs)
{
    Figures figures;
    for (int i = 0; i < runs; ++i) {
        // A calculation the files' titles also match ("2"), so that the pass finds items too.
        const QString query = QStringLiteral("2+%1*4").arg(i + 3);
        // Between keystrokes the field is left idle, as a typist leaves it.
        while (search.isSearchRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QElapsedTimer typed;
        bool foundSeen = false;
        double found = 0;
        const double answered = timeUntil(
            [&] {
                typed.start();
                search.searchFieldModified(query);
            },
            search,
            [&] {
                if (!foundSeen && search.displayedQuery() == query) {
                    foundSeen = true;
                    found = double(typed.nsecsElapsed()) / 1e6;
                }
                return foundSeen && (!answers || search.answerRowCount() == 1);
            });
        Q_UNUSED(answered);
        figures.toFound.push_back(found);
        if (answers)
            figures.toAnswer.push_back(answered);
    }
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = 100000;
    const int runs = 101;
    const SearchSources sources = generatedLists(records);

    SearchController plain([&sources] { return sources; });
    typeQueries(plain, false, 3); // prepares the lists
    const Figures without = typeQueries(plain, false, runs);

    SearchController search([&sources] { return sources; });
    AnswerEngine engine;
    engine.addFamily(std::make_unique<CalculatorAnswers>(QLocale("en_US")));
    search.setAnswerAsker([&engine](const QString &query) { engine.ask(query); });
    QObject::connect(&engine, &AnswerEngine::answered, &search, &SearchController::showAnswers);
    QElapsedTimer load;
    load.start();
    typeQueries(search, true, 3); // prepares the lists, loads the module and its definitions
    Bench::print("answers_first_calculation_with_module_load", double(load.nsecsElapsed()) / 1e6,
                 "ms");
    const Figures with = typeQueries(search, true, runs);

    const Bench::Stats answer = Bench::stats(with.toAnswer);
    Bench::print("answers_keystroke_to_answer_row_median", answer.median, "ms");
    Bench::print("answers_keystroke_to_answer_row_p95", answer.p95, "ms");
    Bench::print("answers_keystroke_to_answer_row_p95_target", 16, "ms");
    const Bench::Stats foundWith = Bench::stats(with.toFound);
    const Bench::Stats foundWithout = Bench::stats(without.toFound);
    Bench::print("answers_found_items_100000_with_answers_median", foundWith.median, "ms");
    Bench::print("answers_found_items_100000_with_answers_p95", foundWith.p95, "ms");
    Bench::print("answers_found_items_100000_without_answers_median", foundWithout.median, "ms");
    Bench::print("answers_found_items_100000_without_answers_p95", foundWithout.p95, "ms");
    return 0;
}
