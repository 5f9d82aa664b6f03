#pragma once

#include "DesktopSearchClient.h"
#include "RunnerTypes.h"

#include <QDBusConnection>
#include <QHash>
#include <QSet>

// A KRunner D-Bus runner (org.kde.krunner1): Match(query) on its service, or on every name of
// the bus its service's prefix covers ("org.kde.foo*"), Run(id, "") for Return and Run(id,
// action) for an action of the row's menu. Its Actions() are asked beside each Match, or once per
// service when its file says X-Plasma-Request-Actions-Once. A DBus2 runner's Config() is read
// once, before its first match, and Teardown() is called on the services asked when the user is
// done searching.
class RunnerClient : public DesktopSearchClient
{
    Q_OBJECT
public:
    RunnerClient(DesktopSearchSource source, QDBusConnection bus, QObject *parent = nullptr);

    void ask(const QString &query, quint64 generation) override;
    void activate(const QVariantMap &row, const QString &action, quint32 timestamp) override;
    void endSession() override;

    // Best first: by category, then relevance; ties keep the runner's order.
    static RunnerMatches ranked(RunnerMatches matches);
    // The runner's actions a match offers: those its "actions" property names, in that order,
    // else all of them.
    static RunnerActions actionsOf(const RunnerMatch &match, const RunnerActions &actions);

private:
    void matchOn(const QStringList &services, const QString &query, quint64 generation);
    QDBusMessage call(const QString &service, const QString &method) const;

    QDBusConnection mBus;
    quint64 mGeneration = 0;
    bool mConfigAsked = false;
    // Per service: its actions as last answered, and whether they were answered (asked once).
    QHash<QString, RunnerActions> mActions;
    // The services asked since the last Teardown.
    QSet<QString> mAsked;
};
