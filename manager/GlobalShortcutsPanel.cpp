#include "GlobalShortcutsPanel.h"

#include "QOR_StringUtils.h"
#include "platform/DBusNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString AgentPath = QStringLiteral("/org/korvale/GlobalShortcuts");
const QString AgentInterface = QStringLiteral("org.korvale.GlobalShortcuts");

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

// The portal's refusal in the user's words; the portal's own (in English) only when nothing
// better is known.
QString refusalWords(const QString &refusal, const QString &reason)
{
    if (refusal == QLatin1String("unknown-application"))
        return localized("GlobalShortcutsRefusedApplication");
    if (refusal == QLatin1String("declined"))
        return localized("GlobalShortcutsRefusedDeclined");
    if (refusal == QLatin1String("session-closed"))
        return localized("GlobalShortcutsRefusedClosed");
    return localized("GlobalShortcutsRefusedOther").arg(reason);
}

} // namespace

GlobalShortcutsPanel::GlobalShortcutsPanel(QWidget *fallbackNote, QWidget *parent,
                                           const QString &agentService)
    : QWidget(parent)
    , mAgentService(agentService)
    , mFallbackNote(fallbackNote)
    , mTriggers(new QWidget)
    , mList(new QTreeWidget)
    , mStatus(new QLabel)
    , mRefusal(new QLabel)
{
    setObjectName(QStringLiteral("globalShortcuts"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mRefusal->setObjectName(QStringLiteral("globalShortcutsRefusal"));
    mRefusal->setWordWrap(true);
    mRefusal->hide();
    layout->addWidget(mRefusal);
    layout->addWidget(mFallbackNote);
    layout->addWidget(mTriggers);

    auto *triggers = new QVBoxLayout(mTriggers);
    triggers->setContentsMargins(0, 0, 0, 0);
    auto *heading = new QLabel(localized("GlobalShortcutsHeading"));
    heading->setWordWrap(true);
    triggers->addWidget(heading);
    mList->setColumnCount(2);
    mList->setHeaderLabels({localized("GlobalShortcutsAction"), localized("GlobalShortcutsKeys")});
    mList->setRootIsDecorated(false);
    mList->setSelectionMode(QAbstractItemView::NoSelection);
    mList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    mList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    triggers->addWidget(mList);
    mStatus->setWordWrap(true);
    triggers->addWidget(mStatus);
    mTriggers->hide();

    QDBusConnection::sessionBus().connect(mAgentService, AgentPath, AgentInterface,
                                          QStringLiteral("Changed"), this, SLOT(refresh()));
}

bool GlobalShortcutsPanel::showsTriggers() const
{
    return !mTriggers->isHidden();
}

QString GlobalShortcutsPanel::refusalText() const
{
    return mRefusal->isHidden() ? QString() : mRefusal->text();
}

QList<std::pair<QString, QString>> GlobalShortcutsPanel::rows() const
{
    QList<std::pair<QString, QString>> rows;
    for (int i = 0; i < mList->topLevelItemCount(); ++i)
        rows.append({mList->topLevelItem(i)->text(0), mList->topLevelItem(i)->text(1)});
    return rows;
}

void GlobalShortcutsPanel::refresh()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        mAgentService, AgentPath, AgentInterface, QStringLiteral("Triggers"));
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
            call->deleteLater();
            const QDBusPendingReply<QVariantMap> reply = *call;
            showAnswer(reply.isError() ? QVariantMap()
                                       : DBusNotificationCenter::fromWire(reply.value()).toMap());
        });
}

void GlobalShortcutsPanel::showAnswer(const QVariantMap &answer)
{
    const QString status = answer.value(QStringLiteral("status")).toString();
    // While the agent is still asking the desktop, what is shown stays.
    if (status == QLatin1String("probing"))
        return;
    const bool portal = status == QLatin1String("bound") || status == QLatin1String("binding");
    mRefusal->setText(status == QLatin1String("refused")
                          ? refusalWords(answer.value(QStringLiteral("refusal")).toString(),
                                         answer.value(QStringLiteral("reason")).toString())
                          : QString());
    mRefusal->setVisible(!mRefusal->text().isEmpty());
    mFallbackNote->setVisible(!portal);
    mTriggers->setVisible(portal);
    mList->clear();
    if (!portal)
        return;
    for (const QVariant &entry : answer.value(QStringLiteral("shortcuts")).toList()) {
        const QVariantMap shortcut = entry.toMap();
        QString keys = shortcut.value(QStringLiteral("trigger")).toString();
        if (keys.isEmpty())
            keys = localized("GlobalShortcutsNoKeys");
        new QTreeWidgetItem(mList,
                            {shortcut.value(QStringLiteral("description")).toString(), keys});
    }
    mStatus->setText(status == QLatin1String("binding") ? localized("GlobalShortcutsBinding")
                                                        : QString());
    mStatus->setVisible(!mStatus->text().isEmpty());
}

void GlobalShortcutsPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}
