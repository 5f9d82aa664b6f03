#pragma once

#include "DesktopSearchClient.h"
#include "SearchSourceFiles.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

// The desktop's providers and runners asked for each text typed: every question leaves at once
// and the agent's thread never waits for an answer. A source's rows are handed over when they
// come within the budget; later ones are left out for that text. A source that fails (an error,
// no answer within the budget) several times running is rested for a while, and the log says so
// once.
class DesktopSearchRows : public QObject
{
    Q_OBJECT
public:
    static constexpr int kBudgetMs = 250;
    static constexpr int kFailuresBeforeRest = 3;
    static constexpr int kRestMs = 5 * 60 * 1000;

    explicit DesktopSearchRows(QDBusConnection bus, QObject *parent = nullptr);
    ~DesktopSearchRows() override;

    // The sources asked from now on, in the order their rows are shown.
    void setSources(const QList<DesktopSearchSource> &sources);
    QList<DesktopSearchSource> sources() const;
    // Which of them the user left on; default: the file's own default.
    void setEnabled(std::function<bool(const DesktopSearchSource &)> enabled);

    // Main thread; returns at once. An empty text asks nothing and forgets the earlier question.
    void ask(const QString &query);
    // Return on a row that came from here (`action` empty), or an action of its menu;
    // `timestamp`: the user's event time (UserEventTime), 0 where there is none.
    void activate(const QVariantMap &row, const QString &action, quint32 timestamp);
    // The window hid after a session of questions: the runners that want it are told.
    void endSession();
    static bool isDesktopSearchRow(const QVariantMap &row);

signals:
    // Rows of the source at `order` for query, within the budget.
    void answered(const QString &query, int order, const QList<QVariantMap> &rows);

private:
    struct Entry {
        std::unique_ptr<DesktopSearchClient> client;
        int failures = 0;
        qint64 restedUntil = -1;
        bool answeredThisQuestion = false;
        bool askedThisQuestion = false;
    };
    bool isAsked(const Entry &entry, const QString &query) const;
    void noteFailure(Entry &entry, const QString &reason);
    void budgetOver();

    QDBusConnection mBus;
    std::vector<Entry> mEntries;
    std::function<bool(const DesktopSearchSource &)> mEnabled;
    QString mQuery;
    quint64 mGeneration = 0;
    QElapsedTimer mClock;
    qint64 mAskedAt = 0;
    QTimer mBudget;
};
