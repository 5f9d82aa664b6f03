#include "SystemActionAnswers.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "SearchTextFolding.h"

const QString SystemActionAnswers::PreferenceKey = QStringLiteral("AnswersSystemActions");

using Action = SessionActions::Action;

namespace {

// Words people type for each, in English whatever the language: they are the words of the
// other launchers and of the desktops' own menus.
QStringList wordsFor(Action action)
{
    switch (action) {
    case Action::Lock:
        return {QStringLiteral("lock")};
    case Action::LogOut:
        return {QStringLiteral("log out"), QStringLiteral("logout"), QStringLiteral("sign out")};
    case Action::Suspend:
        return {QStringLiteral("suspend"), QStringLiteral("sleep")};
    case Action::Hibernate:
        return {QStringLiteral("hibernate")};
    case Action::Restart:
        return {QStringLiteral("restart"), QStringLiteral("reboot")};
    case Action::ShutDown:
        return {QStringLiteral("shut down"), QStringLiteral("shutdown"),
                QStringLiteral("power off"), QStringLiteral("poweroff")};
    }
    return {};
}

QString fold(const QString &text)
{
    return QString::fromStdString(SearchTextFolding::fold(text)).simplified();
}

} // namespace

SystemActionAnswers::SystemActionAnswers(std::shared_ptr<const SessionActions> actions)
    : mActions(std::move(actions))
{
    mClock.start();
}

QString SystemActionAnswers::nameOf(Action action)
{
    switch (action) {
    case Action::Lock:
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerLockScreen"));
    case Action::LogOut:
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerLogOut"));
    case Action::Suspend:
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerSuspend"));
    case Action::Hibernate:
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerHibernate"));
    case Action::Restart:
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerRestart"));
    case Action::ShutDown:
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerShutDown"));
    }
    return {};
}

bool SystemActionAnswers::matches(const QString &query, Action action)
{
    // The start of the name, of one of its words, or of a common word: "sle", "off", "reb".
    const QString typed = fold(query);
    if (typed.size() < 2)
        return false;
    QStringList candidates = wordsFor(action);
    const QString name = fold(nameOf(action));
    candidates << name << name.split(QLatin1Char(' '));
    for (const QString &word : std::as_const(candidates)) {
        const QString folded = fold(word);
        if (folded.startsWith(typed) || folded.split(QLatin1Char(' ')).contains(typed))
            return true;
    }
    return false;
}

bool SystemActionAnswers::canDo(Action action)
{
    const qint64 now = mClock.elapsed();
    const auto known = mCan.constFind(int(action));
    if (known != mCan.cend() && now - known->at < CanCacheMs)
        return known->can;
    const bool can = mActions->canDo(action);
    mCan.insert(int(action), {can, now});
    return can;
}

QList<QVariantMap> SystemActionAnswers::answer(const QString &query, int timeLimitMs)
{
    Q_UNUSED(timeLimitMs);
    QList<QVariantMap> rows;
    for (const Action action : SessionActions::AllActions) {
        if (!matches(query, action) || !canDo(action))
            continue;
        QVariantMap row = AnswerRecord::make(
            PreferenceKey, nameOf(action),
            QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerSystemAction")));
        row.insert(AnswerRecord::KeySystemAction, SessionActions::idOf(action));
        rows << row;
    }
    return rows;
}
