#pragma once

#include "AnswerFamily.h"
#include "platform/SessionActions.h"

#include <QElapsedTimer>
#include <QHash>

#include <memory>

// "Lock Screen", "Log Out", "Suspend", "Hibernate", "Restart", "Shut Down", found by their names
// and common words ("lock", "sleep", "reboot", "power off"); one the machine cannot do is not
// offered. Return hands the row's action to the agent (AnswerRecord::KeySystemAction), which
// confirms the ones that end the session's programs.
class SystemActionAnswers : public AnswerFamily
{
public:
    static const QString PreferenceKey;
    // What login1 said holds this long: it does not change between keystrokes.
    static constexpr qint64 CanCacheMs = 30 * 1000;

    explicit SystemActionAnswers(std::shared_ptr<const SessionActions> actions);

    QString preferenceKey() const override { return PreferenceKey; }
    QList<QVariantMap> answer(const QString &query, int timeLimitMs) override;

    // The translated name of each action.
    static QString nameOf(SessionActions::Action action);

private:
    static bool matches(const QString &query, SessionActions::Action action);
    bool canDo(SessionActions::Action action);

    std::shared_ptr<const SessionActions> mActions;
    QElapsedTimer mClock;
    struct Known {
        bool can = false;
        qint64 at = 0;
    };
    QHash<int, Known> mCan;
};
