#pragma once

#include "SearchSourceFiles.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

// One provider or runner asked on the bus, never waited for: ask() sends the question and
// returns; the rows come back through answered(), or failed() says it did not answer.
class DesktopSearchClient : public QObject
{
    Q_OBJECT
public:
    // Result rows shown per source, plus its "more" row for a provider.
    static constexpr int kRows = 5;
    // How long the bus may take over one call before it counts as a failure.
    static constexpr int kCallTimeoutMs = 5000;

    explicit DesktopSearchClient(DesktopSearchSource source, QObject *parent = nullptr)
        : QObject(parent)
        , mSource(std::move(source))
    {
    }
    const DesktopSearchSource &source() const { return mSource; }

    // A new question; an answer to an older one is not given any more.
    virtual void ask(const QString &query, quint64 generation) = 0;
    // Return on one of its rows (`action` empty), or one of the actions of its menu; `timestamp`
    // is the user's event time where the windowing system has one, else 0.
    virtual void activate(const QVariantMap &row, const QString &action, quint32 timestamp) = 0;
    // The user is done searching for now (the window hid).
    virtual void endSession() { }

signals:
    void answered(quint64 generation, const QList<QVariantMap> &rows);
    void failed(quint64 generation, const QString &reason);

protected:
    // A row of this source: an answer record the opener hands back to the client.
    QVariantMap row(const QString &title, const QString &description, const QString &id) const;

    DesktopSearchSource mSource;
};
