#pragma once

#include "OfferedActions.h"
#include "OfferedItems.h"

#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class OfferedSearch;

// The agent in GNOME Shell's search: org.gnome.Shell.SearchProvider2 at /org/korvale/SearchProvider
// under the agent's name, announced by gnome-shell/search-providers/korvale-search-provider.ini.
// The result sets are answered once the pass has run on the search engine's worker.
class SearchProviderBus : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")
public:
    static const QString ObjectPath;
    static const QString Interface;

    SearchProviderBus(OfferedSearch &search, OfferedActions actions, QObject *parent = nullptr);
    ~SearchProviderBus() override;

    bool publish();

public slots:
    Q_SCRIPTABLE QStringList GetInitialResultSet(const QStringList &terms);
    Q_SCRIPTABLE QStringList GetSubsearchResultSet(const QStringList &previousResults,
                                                   const QStringList &terms);
    Q_SCRIPTABLE QList<QVariantMap> GetResultMetas(const QStringList &identifiers);
    Q_SCRIPTABLE void ActivateResult(const QString &identifier, const QStringList &terms,
                                     uint timestamp);
    Q_SCRIPTABLE void LaunchSearch(const QStringList &terms, uint timestamp);

private:
    QStringList answer(const QStringList &terms);

    OfferedSearch &mSearch;
    OfferedActions mActions;
    OfferedItems mItems;
    bool mPublished = false;
};
