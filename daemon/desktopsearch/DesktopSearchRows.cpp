#include "DesktopSearchRows.h"

#include "AnswerRecord.h"
#include "GnomeProviderClient.h"
#include "KorvaleLog.h"
#include "RunnerClient.h"

#include <QRegularExpression>

DesktopSearchRows::DesktopSearchRows(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , mBus(std::move(bus))
{
    mClock.start();
    mBudget.setSingleShot(true);
    connect(&mBudget, &QTimer::timeout, this, &DesktopSearchRows::budgetOver);
}

DesktopSearchRows::~DesktopSearchRows() = default;

void DesktopSearchRows::setSources(const QList<DesktopSearchSource> &sources)
{
    ++mGeneration;
    mEntries.clear();
    for (const DesktopSearchSource &source : sources) {
        Entry entry;
        if (source.kind == DesktopSearchSource::Kind::GnomeProvider)
            entry.client = std::make_unique<GnomeProviderClient>(source, mBus);
        else
            entry.client = std::make_unique<RunnerClient>(source, mBus);
        DesktopSearchClient *client = entry.client.get();
        const int order = int(mEntries.size());
        connect(
            client, &DesktopSearchClient::answered, this,
            [this, order](quint64 generation, const QList<QVariantMap> &rows) {
                Entry &entry = mEntries.at(std::size_t(order));
                if (generation != mGeneration || entry.answeredThisQuestion)
                    return;
                entry.answeredThisQuestion = true;
                if (mClock.elapsed() - mAskedAt > kBudgetMs) {
                    noteFailure(
                        entry,
                        QStringLiteral("answered after %1 ms").arg(mClock.elapsed() - mAskedAt));
                    return;
                }
                entry.failures = 0;
                emit answered(mQuery, order, rows);
            });
        connect(client, &DesktopSearchClient::failed, this,
                [this, order](quint64 generation, const QString &reason) {
                    Entry &entry = mEntries.at(std::size_t(order));
                    if (generation != mGeneration || entry.answeredThisQuestion)
                        return;
                    entry.answeredThisQuestion = true;
                    noteFailure(entry, reason);
                });
        mEntries.push_back(std::move(entry));
    }
}

QList<DesktopSearchSource> DesktopSearchRows::sources() const
{
    QList<DesktopSearchSource> sources;
    for (const Entry &entry : mEntries)
        sources.append(entry.client->source());
    return sources;
}

void DesktopSearchRows::setEnabled(std::function<bool(const DesktopSearchSource &)> enabled)
{
    mEnabled = std::move(enabled);
}

bool DesktopSearchRows::isAsked(const Entry &entry, const QString &query) const
{
    const DesktopSearchSource &source = entry.client->source();
    if (mEnabled ? !mEnabled(source) : !source.enabledByDefault)
        return false;
    if (entry.restedUntil >= 0 && mClock.elapsed() < entry.restedUntil)
        return false;
    if (source.kind != DesktopSearchSource::Kind::Runner)
        return true;
    if (query.trimmed().size() < source.minLetterCount)
        return false;
    if (source.matchRegex.isEmpty())
        return true;
    const QRegularExpression pattern(source.matchRegex);
    return !pattern.isValid() || pattern.match(query).hasMatch();
}

void DesktopSearchRows::ask(const QString &query)
{
    // A question unanswered past its budget counts even when the next one comes before the
    // timer's turn.
    if (mBudget.isActive() && mClock.elapsed() - mAskedAt >= kBudgetMs)
        budgetOver();
    ++mGeneration;
    mQuery = query;
    mAskedAt = mClock.elapsed();
    mBudget.stop();
    if (query.trimmed().isEmpty())
        return;
    bool any = false;
    for (Entry &entry : mEntries) {
        entry.answeredThisQuestion = false;
        entry.askedThisQuestion = isAsked(entry, query);
        if (!entry.askedThisQuestion)
            continue;
        if (entry.restedUntil >= 0) {
            entry.restedUntil = -1;
            entry.failures = 0;
        }
        entry.client->ask(query, mGeneration);
        any = true;
    }
    if (any)
        mBudget.start(kBudgetMs);
}

void DesktopSearchRows::budgetOver()
{
    for (Entry &entry : mEntries) {
        if (entry.askedThisQuestion && !entry.answeredThisQuestion) {
            entry.answeredThisQuestion = true;
            noteFailure(entry, QStringLiteral("no answer within %1 ms").arg(kBudgetMs));
        }
    }
}

void DesktopSearchRows::noteFailure(Entry &entry, const QString &reason)
{
    if (++entry.failures < kFailuresBeforeRest || entry.restedUntil >= 0)
        return;
    entry.restedUntil = mClock.elapsed() + kRestMs;
    const DesktopSearchSource &source = entry.client->source();
    KorvaleLog::line(QStringLiteral("The desktop's search %1 (%2) failed %3 times running, last "
                                    "%4: left out for %5 minutes")
                         .arg(source.name, source.key)
                         .arg(entry.failures)
                         .arg(reason)
                         .arg(kRestMs / 60000));
}

bool DesktopSearchRows::isDesktopSearchRow(const QVariantMap &row)
{
    return row.contains(AnswerRecord::KeyDesktopSource);
}

void DesktopSearchRows::endSession()
{
    for (const Entry &entry : mEntries)
        entry.client->endSession();
}

void DesktopSearchRows::activate(const QVariantMap &row, const QString &action, quint32 timestamp)
{
    const QString key = row.value(AnswerRecord::KeyDesktopSource).toString();
    for (const Entry &entry : mEntries) {
        if (entry.client->source().key == key) {
            entry.client->activate(row, action, timestamp);
            return;
        }
    }
}
