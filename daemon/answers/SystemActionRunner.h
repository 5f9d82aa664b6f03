#pragma once

#include "platform/SessionActions.h"

#include <functional>
#include <memory>

// Return on a system action: log out, restart and shut down are confirmed first, since they end
// the programs the user has open; the others are asked for at once. Main thread.
class SystemActionRunner
{
public:
    // The action, and for a log out the programs the desktop says hold it back.
    using Confirm = std::function<bool(SessionActions::Action, const QStringList &)>;

    SystemActionRunner(std::shared_ptr<const SessionActions> actions, Confirm confirm);

    // Whether the action was asked of the session's services (not when unknown, refused or
    // no service answers for it).
    bool run(const QString &id) const;

private:
    std::shared_ptr<const SessionActions> mActions;
    Confirm mConfirm;
};
