#include "SearchField.h"

#include "ItemCell.h"
#include "QOR_StringUtils.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

SearchField::SearchField(QWidget *parent)
    : QLineEdit(parent)
{
    // Black on white whatever the theme: the field reads the same as the paper it stands for.
    // The white is painted with rounded corners below the standard drawing, whose own base is
    // therefore clear.
    QPalette palette = this->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::transparent);
        palette.setColor(group, QPalette::Text, group == QPalette::Disabled ? Qt::gray : Qt::black);
        palette.setColor(group, QPalette::PlaceholderText, QColor(0, 0, 0, 110));
    }
    setPalette(palette);
    setFrame(false);
    setTextMargins(4, 0, 4, 0);
    setClearButtonEnabled(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QFont bigger = font();
    if (bigger.pointSizeF() > 0)
        bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
    setFont(bigger);
    setMinimumHeight(QFontMetrics(bigger).height() + 14);

    mRecentMenu = new QMenu(this);
    mRecentAction = addAction(
        ItemCell::desktopIcon({QStringLiteral("edit-find"), QStringLiteral("system-search")}),
        QLineEdit::LeadingPosition);
    mRecentAction->setToolTip(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("RecentSearches")));
    connect(mRecentAction, &QAction::triggered, this, [this] {
        if (mRecentSearches.isEmpty())
            return;
        mRecentMenu->popup(mapToGlobal(QPoint(0, height())));
    });
}

void SearchField::setRecentSearches(const QStringList &searches)
{
    mRecentSearches = searches;
    rebuildRecentMenu();
}

void SearchField::rebuildRecentMenu()
{
    mRecentMenu->clear();
    for (const QString &search : std::as_const(mRecentSearches)) {
        QAction *action = mRecentMenu->addAction(search);
        connect(action, &QAction::triggered, this, [this, search] {
            setText(search);
            setFocus(Qt::OtherFocusReason);
            selectAll();
        });
    }
}

bool SearchField::isWindowKeyEquivalent(const QKeyEvent *event) const
{
    constexpr Qt::KeyboardModifiers Commands =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // Plain typing always belongs to the field.
    if (!(modifiers & Commands))
        return false;
    const auto key = Qt::Key(event->key());
    // "Ctrl+<" and "Ctrl+?" arrive with Shift on most layouts: the shortcut names the character.
    const QKeySequence pressed(QKeyCombination(modifiers, key));
    const QKeySequence unshifted(QKeyCombination(modifiers & ~Qt::ShiftModifier, key));
    for (const QAction *action : window()->actions()) {
        if (action->shortcutContext() == Qt::WidgetShortcut)
            continue;
        for (const QKeySequence &shortcut : action->shortcuts()) {
            if (shortcut == pressed || shortcut == unshifted)
                return true;
        }
    }
    return false;
}

bool SearchField::event(QEvent *event)
{
    // QLineEdit claims its editing keys before the shortcuts are looked at (Ctrl+U deletes the
    // line on X11): leaving the override unaccepted lets the window's action run instead.
    if (event->type() == QEvent::ShortcutOverride
        && isWindowKeyEquivalent(static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void SearchField::keyPressEvent(QKeyEvent *event)
{
    if (mHandler && mHandler(event)) {
        event->accept();
        return;
    }
    // A key equivalent whose entry is disabled (the list update during a scan) does nothing
    // rather than edit the query.
    if (isWindowKeyEquivalent(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SearchField::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.fillPath(path, Qt::white);
        QColor outline = hasFocus() ? palette().color(QPalette::Highlight) : QColor(0, 0, 0, 60);
        painter.setPen(QPen(outline, hasFocus() ? 1.5 : 1.0));
        painter.drawPath(path);
    }
    QLineEdit::paintEvent(event);
}
