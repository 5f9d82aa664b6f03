#pragma once

#include <QVariantMap>
#include <QWidget>

class QLabel;
class QTreeWidget;

// The shortcut section's part where the desktop watches the keys for the agent (Wayland
// sessions, docs/keyboard.md): the keys the desktop reports for each of the agent's shortcuts,
// asked of the agent on the bus (only the agent's own session may list them at the portal), and
// asked again whenever the agent says they changed. Where the desktop offers no global shortcuts,
// or no agent answers, it shows `fallbackNote` (the command to bind) instead; where the portal
// refused the shortcuts, it also says so and why.
class GlobalShortcutsPanel : public QWidget
{
    Q_OBJECT
public:
    // `agentService`: the agent's bus name (another in tests, where agents of other tests run).
    explicit GlobalShortcutsPanel(
        QWidget *fallbackNote, QWidget *parent = nullptr,
        const QString &agentService = QStringLiteral("org.korvale.Daemon"));

    bool showsTriggers() const;
    // The refusal shown, empty when none.
    QString refusalText() const;
    // "description" -> "keys" as the rows show them.
    QList<std::pair<QString, QString>> rows() const;

public slots:
    // Asks the agent (without waiting).
    void refresh();
    // The agent's answer to org.korvale.GlobalShortcuts.Triggers(); empty: no answer.
    void showAnswer(const QVariantMap &answer);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString mAgentService;
    QWidget *mFallbackNote;
    QWidget *mTriggers;
    QTreeWidget *mList;
    QLabel *mStatus;
    QLabel *mRefusal;
};
