#include "RunnerClient.h"

#include "AnswerRecord.h"
#include "ResultIcons.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <algorithm>
#include <memory>
#include <utility>

namespace {
const QString Interface = QStringLiteral("org.kde.krunner1");
const QString KeyService = QStringLiteral("DesktopSearchService");
} // namespace

RunnerClient::RunnerClient(DesktopSearchSource source, QDBusConnection bus, QObject *parent)
    : DesktopSearchClient(std::move(source), parent)
    , mBus(std::move(bus))
{
    RunnerTypes::registerTypes();
}

QDBusMessage RunnerClient::call(const QString &service, const QString &method) const
{
    return QDBusMessage::createMethodCall(service, mSource.objectPath, Interface, method);
}

RunnerMatches RunnerClient::ranked(RunnerMatches matches)
{
    std::stable_sort(matches.begin(), matches.end(),
                     [](const RunnerMatch &a, const RunnerMatch &b) {
                         if (a.category != b.category)
                             return a.category > b.category;
                         return a.relevance > b.relevance;
                     });
    return matches;
}

void RunnerClient::ask(const QString &query, quint64 generation)
{
    mGeneration = generation;
    if (mSource.dbus2 && !mConfigAsked && !mSource.busName.endsWith(QLatin1Char('*'))) {
        // Its own letter count and pattern, for the next questions; this one is asked anyway.
        mConfigAsked = true;
        auto *watcher = new QDBusPendingCallWatcher(
            mBus.asyncCall(call(mSource.busName, QStringLiteral("Config")), kCallTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher *watched) {
                    watched->deleteLater();
                    const QDBusPendingReply<QVariantMap> reply = *watched;
                    if (reply.isError())
                        return;
                    const QVariantMap config = reply.value();
                    if (config.contains(QStringLiteral("MinLetterCount")))
                        mSource.minLetterCount =
                            config.value(QStringLiteral("MinLetterCount")).toInt();
                    if (config.contains(QStringLiteral("MatchRegex")))
                        mSource.matchRegex = config.value(QStringLiteral("MatchRegex")).toString();
                });
    }
    if (!mSource.busName.endsWith(QLatin1Char('*'))) {
        matchOn({mSource.busName}, query, generation);
        return;
    }
    // The names of the bus now: an instance of the program may have come or gone.
    const QDBusMessage list = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(list, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, query, generation](QDBusPendingCallWatcher *watched) {
                watched->deleteLater();
                const QDBusPendingReply<QStringList> reply = *watched;
                if (reply.isError()) {
                    emit failed(generation, reply.error().message());
                    return;
                }
                const QString prefix = mSource.busName.chopped(1);
                QStringList services;
                for (const QString &name : reply.value())
                    if (name.startsWith(prefix) && !name.startsWith(QLatin1Char(':')))
                        services.append(name);
                services.sort();
                if (services.isEmpty()) {
                    emit answered(generation, {});
                    return;
                }
                matchOn(services, query, generation);
            });
}

RunnerActions RunnerClient::actionsOf(const RunnerMatch &match, const RunnerActions &actions)
{
    const QString key = QStringLiteral("actions");
    if (!match.properties.contains(key))
        return actions;
    RunnerActions offered;
    for (const QString &id : match.properties.value(key).toStringList()) {
        const auto found =
            std::find_if(actions.cbegin(), actions.cend(),
                         [&id](const RunnerAction &action) { return action.id == id; });
        if (found != actions.cend())
            offered.append(*found);
    }
    return offered;
}

void RunnerClient::matchOn(const QStringList &services, const QString &query, quint64 generation)
{
    struct Gathered {
        qsizetype waiting = 0;
        RunnerMatches matches;
        bool anyAnswered = false;
        QString error;
    };
    auto gathered = std::make_shared<Gathered>();
    // The rows once every Match and Actions asked has answered.
    const auto done = [this, gathered, generation] {
        if (--gathered->waiting > 0 || generation != mGeneration)
            return;
        if (!gathered->anyAnswered) {
            emit failed(generation, gathered->error);
            return;
        }
        QList<QVariantMap> rows;
        for (const RunnerMatch &match : ranked(gathered->matches)) {
            if (rows.size() >= kRows)
                break;
            if (match.text.trimmed().isEmpty())
                continue;
            QVariantMap result = row(
                match.text, match.properties.value(QStringLiteral("subtext")).toString(), match.id);
            ResultIcons::putOn(result,
                               ResultIcons::forRunnerMatch(match.iconName, match.properties));
            const QString service = match.properties.value(KeyService).toString();
            result.insert(KeyService, service);
            QVariantList actions;
            for (const RunnerAction &action : actionsOf(match, mActions.value(service)))
                if (!action.id.isEmpty() && !action.text.trimmed().isEmpty())
                    actions.append(
                        QStringList{action.id, action.text.simplified(), action.iconName});
            if (!actions.isEmpty())
                result.insert(AnswerRecord::KeyDesktopActions, actions);
            rows.append(result);
        }
        emit answered(generation, rows);
    };
    for (const QString &service : services) {
        mAsked.insert(service);
        if (!mSource.requestActionsOnce || !mActions.contains(service)) {
            ++gathered->waiting;
            auto *watcher = new QDBusPendingCallWatcher(
                mBus.asyncCall(call(service, QStringLiteral("Actions")), kCallTimeoutMs), this);
            connect(watcher, &QDBusPendingCallWatcher::finished, this,
                    [this, service, done](QDBusPendingCallWatcher *watched) {
                        watched->deleteLater();
                        // A runner without actions answers Match all the same.
                        const QDBusPendingReply<RunnerActions> reply = *watched;
                        if (!reply.isError())
                            mActions.insert(service, reply.value());
                        done();
                    });
        }
        ++gathered->waiting;
        QDBusMessage message = call(service, QStringLiteral("Match"));
        message << query;
        auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(message, kCallTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [gathered, service, done](QDBusPendingCallWatcher *watched) {
                    watched->deleteLater();
                    const QDBusPendingReply<RunnerMatches> reply = *watched;
                    if (reply.isError()) {
                        gathered->error = reply.error().message();
                    } else {
                        gathered->anyAnswered = true;
                        for (RunnerMatch match : reply.value()) {
                            match.properties.insert(KeyService, service);
                            gathered->matches.append(match);
                        }
                    }
                    done();
                });
    }
}

void RunnerClient::activate(const QVariantMap &row, const QString &action, quint32)
{
    const QString service = row.value(KeyService).toString();
    if (service.isEmpty())
        return;
    QDBusMessage message = call(service, QStringLiteral("Run"));
    message << row.value(AnswerRecord::KeyDesktopResult).toString() << action;
    mBus.asyncCall(message, kCallTimeoutMs);
}

void RunnerClient::endSession()
{
    const QSet<QString> asked = std::exchange(mAsked, {});
    if (!mSource.dbus2)
        return;
    for (const QString &service : asked)
        mBus.asyncCall(call(service, QStringLiteral("Teardown")), kCallTimeoutMs);
}
