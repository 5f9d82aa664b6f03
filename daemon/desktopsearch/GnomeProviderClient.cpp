#include "GnomeProviderClient.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "ResultIcons.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRegularExpression>

namespace {
const QString Interface = QStringLiteral("org.gnome.Shell.SearchProvider2");
const QString KeyTerms = QStringLiteral("DesktopSearchTerms");
const QString KeyLaunch = QStringLiteral("DesktopSearchLaunch");
} // namespace

GnomeProviderClient::GnomeProviderClient(DesktopSearchSource source, QDBusConnection bus,
                                         QObject *parent)
    : DesktopSearchClient(std::move(source), parent)
    , mBus(std::move(bus))
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

QStringList GnomeProviderClient::termsOf(const QString &query)
{
    return query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

bool GnomeProviderClient::extends(const QStringList &earlier, const QStringList &later)
{
    if (earlier.isEmpty() || later.size() < earlier.size())
        return false;
    for (qsizetype i = 0; i < earlier.size(); ++i) {
        if (!later.at(i).startsWith(earlier.at(i)))
            return false;
    }
    return true;
}

QDBusMessage GnomeProviderClient::call(const QString &method) const
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(mSource.busName, mSource.objectPath, Interface, method);
    message.setAutoStartService(mSource.autoStart);
    return message;
}

void GnomeProviderClient::ask(const QString &query, quint64 generation)
{
    mGeneration = generation;
    const QStringList terms = termsOf(query);
    if (terms.isEmpty())
        return;
    QDBusMessage message;
    if (extends(mLastTerms, terms)) {
        message = call(QStringLiteral("GetSubsearchResultSet"));
        message << mLastIds << terms;
    } else {
        message = call(QStringLiteral("GetInitialResultSet"));
        message << terms;
    }
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(message, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, terms, generation](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> reply = *call;
                if (reply.isError()) {
                    mLastTerms.clear();
                    mLastIds.clear();
                    emit failed(generation, reply.error().message());
                    return;
                }
                // Kept even when late: the next, longer terms narrow this set down.
                mLastTerms = terms;
                mLastIds = reply.value();
                if (generation != mGeneration)
                    return;
                askMetas(mLastIds.mid(0, kRows), terms, generation);
            });
}

void GnomeProviderClient::askMetas(const QStringList &ids, const QStringList &terms,
                                   quint64 generation)
{
    if (ids.isEmpty()) {
        emit answered(generation, {});
        return;
    }
    QDBusMessage message = call(QStringLiteral("GetResultMetas"));
    message << ids;
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(message, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, ids, terms, generation](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<QList<QVariantMap>> reply = *call;
                if (reply.isError()) {
                    emit failed(generation, reply.error().message());
                    return;
                }
                if (generation != mGeneration)
                    return;
                QHash<QString, QVariantMap> metas;
                for (const QVariantMap &meta : reply.value())
                    metas.insert(meta.value(QStringLiteral("id")).toString(), meta);
                QList<QVariantMap> rows;
                // In the provider's order, which the metas need not keep.
                for (const QString &id : ids) {
                    const auto meta = metas.constFind(id);
                    if (meta == metas.cend())
                        continue;
                    const QString name = meta->value(QStringLiteral("name")).toString();
                    if (name.trimmed().isEmpty())
                        continue;
                    QVariantMap result =
                        row(name, meta->value(QStringLiteral("description")).toString(), id);
                    ResultIcons::putOn(result, ResultIcons::forProviderMeta(*meta));
                    result.insert(KeyTerms, terms);
                    rows.append(result);
                }
                QVariantMap more =
                    row(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("DesktopSearchMore"))
                            .arg(mSource.name),
                        {}, {});
                more.insert(KeyTerms, terms);
                more.insert(KeyLaunch, 1);
                rows.append(more);
                emit answered(generation, rows);
            });
}

void GnomeProviderClient::activate(const QVariantMap &row, const QString &, quint32 timestamp)
{
    const QStringList terms = row.value(KeyTerms).toStringList();
    QDBusMessage message;
    if (row.value(KeyLaunch).toInt()) {
        message = call(QStringLiteral("LaunchSearch"));
        message << terms << uint(timestamp);
    } else {
        message = call(QStringLiteral("ActivateResult"));
        message << row.value(AnswerRecord::KeyDesktopResult).toString() << terms << uint(timestamp);
    }
    // Nothing to wait for: the provider brings up its own window.
    message.setAutoStartService(true);
    mBus.asyncCall(message, kCallTimeoutMs);
}
