#include "RunnerBus.h"

#include "OfferedSearch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaObject>
#include <QPointer>

const QString RunnerBus::ObjectPath = QStringLiteral("/org/korvale/Runner");
const QString RunnerBus::Interface = QStringLiteral("org.kde.krunner1");

namespace {
// KRunner's categories: a title that begins with the query is a high match, the rest moderate.
constexpr int HighCategory = 70;
constexpr int ModerateCategory = 50;
} // namespace

RunnerBus::RunnerBus(OfferedSearch &search, OfferedActions actions, QObject *parent)
    : QObject(parent)
    , mSearch(search)
    , mActions(std::move(actions))
{
    RunnerTypes::registerTypes();
}

RunnerBus::~RunnerBus()
{
    if (mPublished)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
}

bool RunnerBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mPublished = bus.isConnected()
        && bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    return mPublished;
}

RunnerActions RunnerBus::Actions()
{
    return {};
}

RunnerMatches RunnerBus::Match(const QString &query)
{
    setDelayedReply(true);
    mSearch.search(query,
                   [self = QPointer(this), query, request = message(),
                    bus = connection()](const QList<QVariantMap> &found) {
                       RunnerMatches matches;
                       const QStringList ids = self ? self->mItems.remember(found) : QStringList();
                       const QString folded = query.trimmed().toCaseFolded();
                       for (qsizetype i = 0; i < ids.size(); ++i) {
                           const OfferedItems::Meta meta = OfferedItems::metaOf(found.at(i));
                           RunnerMatch match;
                           match.id = ids.at(i);
                           match.text = meta.name;
                           match.iconName = meta.iconName;
                           match.category = meta.name.toCaseFolded().startsWith(folded)
                               ? HighCategory
                               : ModerateCategory;
                           // The agent's ranking, kept by KRunner within a category.
                           match.relevance = 1.0 - double(i) / double(ids.size() + 1);
                           if (!meta.description.isEmpty())
                               match.properties.insert(QStringLiteral("subtext"), meta.description);
                           matches.append(match);
                       }
                       bus.send(request.createReply(QVariant::fromValue(matches)));
                   });
    return {};
}

void RunnerBus::Run(const QString &matchId, const QString &actionId)
{
    Q_UNUSED(actionId);
    const std::optional<QVariantMap> record = mItems.record(matchId);
    if (!record || !mActions.open)
        return;
    QMetaObject::invokeMethod(
        this, [this, record = *record] { mActions.open(record); }, Qt::QueuedConnection);
}

void RunnerBus::Teardown() { }
