#pragma once

#include "StockSurvey.h"

#include <QObject>
#include <QVariantMap>

class DaemonController;

// The agent's side of the stock survey put together: the passes over the controller's list, the
// hand-back that stores their values in it and saves "StocksSurvey.krvdata", the pass on a
// selected entry, and what the survey shows, for the agent's status on the bus.
class AgentStocks : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        QuoteReader::Limits limits;
        StockSurveyPass::Watch watch;
    };

    AgentStocks(DaemonController &daemon, Environment environment, QObject *parent = nullptr);
    explicit AgentStocks(DaemonController &daemon, QObject *parent = nullptr);
    ~AgentStocks() override;

    StockSurvey &survey() { return mSurvey; }

    // The periodic pass.
    void surveyStocks() { mSurvey.surveyStocks(); }
    // A stock entry selected in the access window.
    void surveySelected(const QString &title) { mSurvey.surveyStocks(title); }
    // replaceStockSurvey: the values a pass stored (and saved) go into the agent's list.
    void replaceStockSurvey(const QVariantList &started, const QVariantList &ended);
    // The agent's entry of that title, whose figures the preview shows.
    std::optional<QVariantMap> entry(const QString &title) const;

    // running, passes, windowVisible, title, reason, value.
    QVariantMap status() const;

signals:
    void stocksReplaced();

private:
    DaemonController &mDaemon;
    StockSurvey mSurvey;
};
