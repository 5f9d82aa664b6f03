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
    survey.file = [&daemon] { return daemon.lists().mFiles.mStocksSurvey.path(); };
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
    // The pass saved them already; the file is read again at the next reload, and a save of the
    // list meanwhile merges with what the pass wrote.
    if (StockSurveyValues::apply(mDaemon.lists().mListOfStocksSurvey, started, ended))
        emit stocksReplaced();
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
    // Asking must not build the window.
    const StockSurveyWindow *window = mSurvey.builtWindow();
    return {{QStringLiteral("running"), mSurvey.isRunning()},
            {QStringLiteral("passes"), mSurvey.finishedPasses()},
            {QStringLiteral("windowVisible"), window && window->isVisible()},
            {QStringLiteral("title"), window ? window->title() : QString()},
            {QStringLiteral("reason"), window ? window->reason() : QString()},
            {QStringLiteral("value"), window ? window->value() : QString()}};
}
