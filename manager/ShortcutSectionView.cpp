#include "ShortcutSectionView.h"

#include "GlobalShortcutsPanel.h"
#include "KeyMap.h"
#include "KeyboardDevicesPanel.h"
#include "QOR_StringUtils.h"
#include "ShortcutSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

QLabel *summaryLabel(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

ShortcutSectionView::ShortcutSectionView(bool waylandSession, QWidget *parent)
    : QWidget(parent)
    , mDaemon(new QCheckBox(localized("DaemonActivated")))
    , mKey(new QCheckBox(localized("ShortcutKeyBox")))
    , mKeySummary(summaryLabel("keySummary"))
    , mChangeKey(new QPushButton(localized("ShortcutChange")))
    , mCorner(new QCheckBox(localized("ShortcutCornerBox")))
    , mCornerSummary(summaryLabel("cornerSummary"))
    , mChangeCorner(new QPushButton(localized("ShortcutChange")))
{
    mDaemon->setObjectName(QStringLiteral("daemonActivated"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mDaemon);
    layout->addSpacing(12);

    // Each way in: its box, then its summary indented under it with the button beside.
    auto *grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const auto &[box, summary, button] :
         {std::tuple{mKey, mKeySummary, mChangeKey},
          std::tuple{mCorner, mCornerSummary, mChangeCorner}}) {
        grid->addWidget(box, row++, 0, 1, 3);
        grid->addWidget(summary, row, 1);
        grid->addWidget(button, row++, 2);
        grid->setRowMinimumHeight(row++, 12);
    }
    layout->addLayout(grid);
    connect(mKey, &QCheckBox::clicked, this, &ShortcutSectionView::keyActivationToggled);
    connect(mCorner, &QCheckBox::clicked, this, &ShortcutSectionView::cornerActivationToggled);
    connect(mChangeKey, &QPushButton::clicked, this, &ShortcutSectionView::changeKeyRequested);
    connect(mChangeCorner, &QPushButton::clicked, this,
            &ShortcutSectionView::changeCornerRequested);

    if (waylandSession) {
        mWaylandNote = new QWidget;
        mWaylandNote->setObjectName(QStringLiteral("waylandNote"));
        auto *note = new QVBoxLayout(mWaylandNote);
        note->setContentsMargins(0, 0, 0, 0);
        auto *text = new QLabel(localized("ShortcutWaylandNote"));
        text->setWordWrap(true);
        auto *command = new QLineEdit(toggleCommand());
        command->setReadOnly(true);
        command->setCursorPosition(0);
        note->addWidget(text);
        note->addWidget(command);
        // Replaced by the keys the desktop reports where its portal watches them.
        mGlobalShortcuts = new GlobalShortcutsPanel(mWaylandNote);
        layout->addWidget(mGlobalShortcuts);
    }
    layout->addStretch(1);
}

void ShortcutSectionView::showSettings(const ShortcutSettings &settings)
{
    mKey->setChecked(settings.shortCutsActivated != 0);
    mCorner->setChecked(settings.shortCutsMouseActivated != 0);
    const QString keys = settings.keySummary();
    mKeySummary->setText(keys.isEmpty() ? KeyMap::localizedName(QStringLiteral("None")) : keys);
    mCornerSummary->setText(settings.cornerSummary());
    // A way that is off keeps its settings for when it is back on.
    mKeySummary->setEnabled(mKey->isChecked());
    mCornerSummary->setEnabled(mCorner->isChecked());
}

void ShortcutSectionView::addKeyboardDevicesPanel(KeyboardDevicesPanel *panel)
{
    mKeyboardDevices = panel;
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->insertWidget(column->count() - 1, panel); // above the closing stretch
}

QString ShortcutSectionView::keySummary() const
{
    return mKeySummary->text();
}

QString ShortcutSectionView::cornerSummary() const
{
    return mCornerSummary->text();
}

QString ShortcutSectionView::toggleCommand()
{
    return QStringLiteral("gdbus call --session --dest org.korvale.Daemon --object-path "
                          "/org/korvale/AccessWindow --method org.korvale.AccessWindow.Toggle");
}
