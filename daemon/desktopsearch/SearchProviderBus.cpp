#include "SearchProviderBus.h"

#include "OfferedSearch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QMetaObject>
#include <QPointer>

const QString SearchProviderBus::ObjectPath = QStringLiteral("/org/korvale/SearchProvider");
const QString SearchProviderBus::Interface = QStringLiteral("org.gnome.Shell.SearchProvider2");

SearchProviderBus::SearchProviderBus(OfferedSearch &search, OfferedActions actions, QObject *parent)
    : QObject(parent)
    , mSearch(search)
    , mActions(std::move(actions))
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

SearchProviderBus::~SearchProviderBus()
{
    if (mPublished)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
}

bool SearchProviderBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mPublished = bus.isConnected()
        && bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    return mPublished;
}

QStringList SearchProviderBus::GetInitialResultSet(const QStringList &terms)
{
    return answer(terms);
}

// The previous results are not narrowed down: the pass over the prepared lists is as fast as
// filtering them, and it ranks the longer query anew.
QStringList SearchProviderBus::GetSubsearchResultSet(const QStringList &previousResults,
                                                     const QStringList &terms)
{
    Q_UNUSED(previousResults);
    return answer(terms);
}

QStringList SearchProviderBus::answer(const QStringList &terms)
{
    setDelayedReply(true);
    mSearch.search(terms.join(QLatin1Char(' ')),
                   [self = QPointer(this), request = message(),
                    bus = connection()](const QList<QVariantMap> &found) {
                       const QStringList ids = self ? self->mItems.remember(found) : QStringList();
                       bus.send(request.createReply(QVariant(ids)));
                   });
    return {};
}

QList<QVariantMap> SearchProviderBus::GetResultMetas(const QStringList &identifiers)
{
    QList<QVariantMap> metas;
    for (const QString &id : identifiers) {
        const std::optional<QVariantMap> record = mItems.record(id);
        if (!record)
            continue;
        const OfferedItems::Meta meta = OfferedItems::metaOf(*record);
        QVariantMap entry{{QStringLiteral("id"), id},
                          {QStringLiteral("name"), meta.name},
                          {QStringLiteral("gicon"), meta.iconName}};
        if (!meta.description.isEmpty())
            entry.insert(QStringLiteral("description"), meta.description);
        metas.append(entry);
    }
    return metas;
}

void SearchProviderBus::ActivateResult(const QString &identifier, const QStringList &terms,
                                       uint timestamp)
{
    Q_UNUSED(terms);
    Q_UNUSED(timestamp);
    const std::optional<QVariantMap> record = mItems.record(identifier);
    if (!record || !mActions.open)
        return;
    // Queued: the shell has its reply before any window of the agent comes up.
    QMetaObject::invokeMethod(
        this, [this, record = *record] { mActions.open(record); }, Qt::QueuedConnection);
}

void SearchProviderBus::LaunchSearch(const QStringList &terms, uint timestamp)
{
    Q_UNUSED(timestamp);
    if (!mActions.launchSearch)
        return;
    QMetaObject::invokeMethod(
        this, [this, text = terms.join(QLatin1Char(' '))] { mActions.launchSearch(text); },
        Qt::QueuedConnection);
}
