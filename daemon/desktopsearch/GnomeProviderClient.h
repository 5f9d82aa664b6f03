#pragma once

#include "DesktopSearchClient.h"

#include <QDBusConnection>
#include <QStringList>

// A GNOME Shell search provider (org.gnome.Shell.SearchProvider2): GetInitialResultSet, or
// GetSubsearchResultSet when the terms only extend the last ones answered, then GetResultMetas
// for the rows shown. Started by D-Bus activation on the first question unless its file says
// AutoStart=false.
class GnomeProviderClient : public DesktopSearchClient
{
    Q_OBJECT
public:
    GnomeProviderClient(DesktopSearchSource source, QDBusConnection bus, QObject *parent = nullptr);

    void ask(const QString &query, quint64 generation) override;
    void activate(const QVariantMap &row, const QString &action, quint32 timestamp) override;

    static QStringList termsOf(const QString &query);
    // Whether each earlier term begins the term at its place in the later list.
    static bool extends(const QStringList &earlier, const QStringList &later);

private:
    QDBusMessage call(const QString &method) const;
    void askMetas(const QStringList &ids, const QStringList &terms, quint64 generation);

    QDBusConnection mBus;
    quint64 mGeneration = 0;
    // The last result set the provider gave, and for which terms.
    QStringList mLastTerms;
    QStringList mLastIds;
};
