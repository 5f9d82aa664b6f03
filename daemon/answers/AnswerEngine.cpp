#include "AnswerEngine.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QMetaObject>

Q_LOGGING_CATEGORY(lcAnswers, "korvale.answers", QtWarningMsg)

AnswerEngine::AnswerEngine(QObject *parent)
    : QObject(parent)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    mClock = [timer] { return timer->elapsed(); };
}

AnswerEngine::~AnswerEngine()
{
    {
        const std::lock_guard lock(mMutex);
        mStopping = true;
        ++mGeneration;
    }
    mWake.notify_all();
    if (mThread.joinable())
        mThread.join();
}

void AnswerEngine::addFamily(std::unique_ptr<AnswerFamily> family)
{
    mFamilies.push_back(std::move(family));
}

void AnswerEngine::setClock(Clock clock)
{
    mClock = std::move(clock);
}

void AnswerEngine::setEnabled(const QString &preferenceKey, bool enabled)
{
    const std::lock_guard lock(mMutex);
    mDisabled.insert(preferenceKey, !enabled);
}

bool AnswerEngine::isEnabled(const QString &preferenceKey) const
{
    const std::lock_guard lock(mMutex);
    return !mDisabled.value(preferenceKey);
}

void AnswerEngine::ask(const QString &query)
{
    {
        const std::lock_guard lock(mMutex);
        ++mGeneration;
        if (query.trimmed().isEmpty() || mFamilies.empty()) {
            mPending.reset();
            return;
        }
        mPending = query;
        // The worker starts with the first question: an agent never typed to has none.
        if (!mThread.joinable())
            mThread = std::thread([this] { work(); });
    }
    mWake.notify_one();
}

void AnswerEngine::work()
{
    for (;;) {
        QString query;
        quint64 generation = 0;
        {
            std::unique_lock lock(mMutex);
            mWake.wait(lock, [this] { return mStopping || mPending.has_value(); });
            if (mStopping)
                return;
            query = *mPending;
            mPending.reset();
            generation = mGeneration;
        }
        const QList<QVariantMap> rows = answersFor(query, generation);
        if (generation != mGeneration)
            continue;
        QMetaObject::invokeMethod(
            this,
            [this, query, rows, generation] {
                // Typed on while it crossed over: the newer query's answer follows.
                if (generation == mGeneration)
                    emit answered(query, rows);
            },
            Qt::QueuedConnection);
    }
}

QList<QVariantMap> AnswerEngine::answersFor(const QString &query, quint64 generation)
{
    QList<QVariantMap> rows;
    for (const auto &family : mFamilies) {
        if (generation != mGeneration)
            return {};
        const QString key = family->preferenceKey();
        if (!isEnabled(key))
            continue;
        family->prepare(query);
        if (generation != mGeneration)
            return {};
        const qint64 start = mClock();
        const QList<QVariantMap> answers = family->answer(query, TimeLimitMs);
        const qint64 took = mClock() - start;
        if (took > TimeLimitMs) {
            qCDebug(lcAnswers) << key << "took" << took << "ms: its answer is dropped";
            continue;
        }
        rows += answers;
    }
    return rows;
}
