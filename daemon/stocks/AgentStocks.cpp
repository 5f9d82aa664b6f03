#include "AgentStocks.h"

#include "DaemonController.h"
#include "ItemRecord.h"
#include "StockSurveyValues.h"
#include "StockSurveyWindow.h"

namespace {

StockSurvey::Environment surveyEnvironment(DaemonController &daemon,
                                           const AgentStocks::Environment &environment)
{
    StockSurvey::Environment survey;
    survey.list = [&daemon] { return daemon.lists().mListOfStocksSurvey; };
    survey.limits = environment.limits;
    survey.watch = environment.watch;
    return survey;
}

} // namespace

AgentStocks::AgentStocks(DaemonController &daemon, Environment environment, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
    , mSurvey(surveyEnvironment(daemon, environment))
{
    connect(&mSurvey, &StockSurvey::passFinished, this, &AgentStocks::replaceStockSurvey);
    daemon.backgroundWork().add({QStringLiteral("The stock survey"),
                                 [this] { mSurvey.requestStop(); },
                                 [this](int ms) { return mSurvey.waitUntilStopped(ms); }});
}

AgentStocks::AgentStocks(DaemonController &daemon, QObject *parent)
    : AgentStocks(daemon, Environment{}, parent)
{
}

AgentStocks::~AgentStocks() = default;

void AgentStocks::replaceStockSurvey(const QVariantList &started, const QVariantList &ended)
{
    DaemonLists &lists = mDaemon.lists();
    QVariantList list = lists.mListOfStocksSurvey;
    // Saved by another program (or an editor of ours) since the last reload: its entries are the
    // ones the values go into.
    if (lists.mFiles.mStocksSurvey.changedOnDisk()) {
        const QVariantList stored = lists.mFiles.mStocksSurvey.read();
        if (!stored.isEmpty())
            list = stored;
    }
    const bool changed = StockSurveyValues::apply(list, started, ended);
    if (changed)
        lists.mFiles.mStocksSurvey.save(list);
    if (changed || list != lists.mListOfStocksSurvey) {
        lists.mListOfStocksSurvey = list;
        emit stocksReplaced();
    }
}

std::optional<QVariantMap> AgentStocks::entry(const QString &title) const
{
    for (const QVariant &entry : mDaemon.lists().mListOfStocksSurvey) {
        const QVariantMap record = entry.toMap();
        if (ItemRecord::string(record, ItemRecord::KeyTitle) == title)
            return record;
    }
    return std::nullopt;
}

QVariantMap AgentStocks::status() const
{
    const StockSurveyWindow &window = mSurvey.window();
    return {{QStringLiteral("running"), mSurvey.isRunning()},
            {QStringLiteral("passes"), mSurvey.finishedPasses()},
            {QStringLiteral("windowVisible"), window.isVisible()},
            {QStringLiteral("title"), window.title()},
            {QStringLiteral("reason"), window.reason()},
            {QStringLiteral("value"), window.value()}};
}
