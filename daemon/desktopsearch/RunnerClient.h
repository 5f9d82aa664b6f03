#pragma once

#include "DesktopSearchClient.h"
#include "RunnerTypes.h"

#include <QDBusConnection>

// A KRunner D-Bus runner (org.kde.krunner1): Match(query) on its service, or on every name of
// the bus its service's prefix covers ("org.kde.foo*"), and Run(id, "") for Return. A DBus2
// runner's Config() is read once, before its first match.
class RunnerClient : public DesktopSearchClient
{
    Q_OBJECT
public:
    RunnerClient(DesktopSearchSource source, QDBusConnection bus, QObject *parent = nullptr);

    void ask(const QString &query, quint64 generation) override;
    void activate(const QVariantMap &row) override;

    // Best first: by category, then relevance; ties keep the runner's order.
    static RunnerMatches ranked(RunnerMatches matches);

private:
    void matchOn(const QStringList &services, const QString &query, quint64 generation);
    QDBusMessage call(const QString &service, const QString &method) const;

    QDBusConnection mBus;
    quint64 mGeneration = 0;
    bool mConfigAsked = false;
};
