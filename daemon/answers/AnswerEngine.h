#pragma once

#include "AnswerFamily.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Asks the answer families on a worker of its own, so that a slow calculation never holds up a
// keystroke or the pass over the lists. Only the newest query is worked on: one asked while
// another is being answered waits for it, and any older one still waiting is forgotten. An
// answer is handed over only while its query is still the newest one asked, and a family's
// answer that took longer than the time limit is dropped.
class AnswerEngine : public QObject
{
    Q_OBJECT
public:
    // Milliseconds on a monotonic clock.
    using Clock = std::function<qint64()>;
    static constexpr int TimeLimitMs = 50;

    explicit AnswerEngine(QObject *parent = nullptr);
    ~AnswerEngine() override;

    // Before the first ask.
    void addFamily(std::unique_ptr<AnswerFamily> family);
    void setClock(Clock clock);
    // Families switched off in the preferences are not asked. Main thread.
    void setEnabled(const QString &preferenceKey, bool enabled);
    bool isEnabled(const QString &preferenceKey) const;

    // Main thread; returns at once. An empty query asks nothing but makes every earlier
    // answer stale.
    void ask(const QString &query);

signals:
    // On the main thread, for the newest query only.
    void answered(const QString &query, const QList<QVariantMap> &rows);

private:
    void work();
    QList<QVariantMap> answersFor(const QString &query, quint64 generation);

    std::vector<std::unique_ptr<AnswerFamily>> mFamilies;
    Clock mClock;
    mutable std::mutex mMutex;
    std::condition_variable mWake;
    std::optional<QString> mPending;
    QHash<QString, bool> mDisabled;
    bool mStopping = false;
    std::atomic<quint64> mGeneration{0};
    std::thread mThread;
};
