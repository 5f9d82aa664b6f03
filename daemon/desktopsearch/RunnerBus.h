#pragma once

#include "OfferedActions.h"
#include "OfferedItems.h"
#include "RunnerTypes.h"

#include <QDBusContext>
#include <QObject>

class OfferedSearch;

// The agent in KRunner (Plasma's search): org.kde.krunner1 at /org/korvale/Runner under the
// agent's name, announced by krunner/dbusplugins/korvale-runner.desktop. Matches are answered
// once the pass has run on the search engine's worker.
class RunnerBus : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")
public:
    static const QString ObjectPath;
    static const QString Interface;

    RunnerBus(OfferedSearch &search, OfferedActions actions, QObject *parent = nullptr);
    ~RunnerBus() override;

    bool publish();

public slots:
    Q_SCRIPTABLE RunnerActions Actions();
    Q_SCRIPTABLE RunnerMatches Match(const QString &query);
    Q_SCRIPTABLE void Run(const QString &matchId, const QString &actionId);
    Q_SCRIPTABLE void Teardown();

private:
    OfferedSearch &mSearch;
    OfferedActions mActions;
    OfferedItems mItems;
    bool mPublished = false;
};
