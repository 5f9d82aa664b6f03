#include "SystemActionRunner.h"

#include "KorvaleLog.h"

SystemActionRunner::SystemActionRunner(std::shared_ptr<const SessionActions> actions,
                                       Confirm confirm)
    : mActions(std::move(actions))
    , mConfirm(std::move(confirm))
{
}

bool SystemActionRunner::run(const QString &id) const
{
    SessionActions::Action action;
    if (!SessionActions::fromId(id, &action))
        return false;
    if (SessionActions::needsConfirmation(action)) {
        const QStringList holding = action == SessionActions::Action::LogOut
            ? mActions->programsHoldingLogout()
            : QStringList();
        if (!(mConfirm && mConfirm(action, holding)))
            return false;
    }
    if (mActions->perform(action))
        return true;
    KorvaleLog::line(QStringLiteral("Unable asking the session to %1: no service for it").arg(id));
    return false;
}
