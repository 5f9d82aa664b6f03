#include "SearchBus.h"

#include "SearchController.h"
#include "SearchResultText.h"

#include <QDBusConnection>
#include <QDBusMessage>

const QString SearchBus::ObjectPath = QStringLiteral("/org/korvale/Search");
const QString SearchBus::Interface = QStringLiteral("org.korvale.Search");
const QString SearchBus::Method = QStringLiteral("Search");
const QString SearchBus::ErrorRefused = QStringLiteral("org.korvale.Search.Refused");
const QString SearchBus::ErrorStopped = QStringLiteral("org.korvale.Search.Stopped");

SearchBus::SearchBus(SearchController &search, QObject *parent)
    : QObject(parent)
    , mSearch(search)
{
}

SearchBus::~SearchBus()
{
    if (mPublished)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
}

bool SearchBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mPublished = bus.isConnected()
        && bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    return mPublished;
}

bool SearchBus::isSearchableType(int type)
{
    return (type >= 0 && type <= 5) || type == 9;
}

QByteArray SearchBus::Search(const QString &query, int type, const QString &form)
{
    if (type == 6) {
        sendErrorReply(ErrorRefused,
                       QStringLiteral("the protected notes are searched in the agent only, "
                                      "after the password"));
        return {};
    }
    const bool json = form == QLatin1String("json");
    if (!isSearchableType(type) || (!json && form != QLatin1String("lines"))) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such type or form"));
        return {};
    }
    setDelayedReply(true);
    // Sent from the worker: a connection may send from any thread, and the reply then leaves
    // without waiting for the main thread's turn.
    mSearch.searchForCaller(
        type, query,
        [request = message(), bus = connection(), json](const SearchPass::Result &result) {
            if (!result.completed) {
                bus.send(
                    request.createErrorReply(ErrorStopped, QStringLiteral("the agent is ending")));
                return;
            }
            const QByteArray text =
                json ? SearchResultText::json(result.items) : SearchResultText::lines(result.items);
            bus.send(request.createReply(QVariant(text)));
        });
    return {};
}
