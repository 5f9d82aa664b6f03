#include "FilterButtons.h"

#include "AccessIcons.h"
#include "QOR_StringUtils.h"
#include "SearchFilter.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QToolButton>

namespace {

QString imageStem(int tag)
{
    switch (tag) {
    case 1:
        return QStringLiteral("filter_Applications");
    case 2:
        return QStringLiteral("filter_Files");
    case 3:
        return QStringLiteral("filter_Bookmarks");
    case 4:
        return QStringLiteral("filter_Contacts");
    case 5:
        return QStringLiteral("filter_Notes");
    case 6:
        return QStringLiteral("filter_ProtectedNotes");
    case 9:
        return QStringLiteral("filter_Clipboard");
    default:
        return {};
    }
}

QString titleFor(int tag)
{
    for (const SearchFilterEntry &entry : SearchFilter::menuEntries()) {
        if (entry.value == tag)
            return QOR_StringUtils::getLocalizedStringForKey(entry.titleKey);
    }
    return {};
}

// The menu's key equivalent, so the pointer teaches the keyboard.
QString toolTipFor(int tag)
{
    for (const SearchFilterEntry &entry : SearchFilter::menuEntries()) {
        if (entry.value == tag)
            return QStringLiteral("%1 (%2)").arg(titleFor(tag),
                                                 QKeySequence(QStringLiteral("Ctrl+") + entry.key)
                                                     .toString(QKeySequence::NativeText));
    }
    return {};
}

} // namespace

const QList<int> &FilterButtons::tags()
{
    // The menu's order without "all": the buttons and the Ctrl+digit keys never disagree.
    static const QList<int> values = [] {
        QList<int> result;
        for (const SearchFilterEntry &entry : SearchFilter::menuEntries()) {
            if (entry.value != 0)
                result.append(entry.value);
        }
        return result;
    }();
    return values;
}

FilterButtons::FilterButtons(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (const int tag : tags()) {
        auto *button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(20, 20));
        button->setProperty("tag", tag);
        button->setToolTip(toolTipFor(tag));
        button->setAccessibleName(titleFor(tag));
        connect(button, &QToolButton::clicked, this, [this, tag] { emit groupChanged(tag); });
        layout->addWidget(button);
        mButtons.append(button);
    }
    showFilter(0);
}

QToolButton *FilterButtons::button(int tag) const
{
    const qsizetype at = tags().indexOf(tag);
    return at < 0 ? nullptr : mButtons.at(at);
}

bool FilterButtons::isOn(int tag) const
{
    return SearchFilter::includes(mValue, tag);
}

void FilterButtons::showFilter(int value)
{
    mValue = value;
    for (QToolButton *button : std::as_const(mButtons)) {
        const int tag = button->property("tag").toInt();
        const bool on = SearchFilter::includes(value, tag);
        button->setIcon(AccessIcons::icon(imageStem(tag)
                                          + (on ? QStringLiteral("_on") : QStringLiteral("_off"))));
        button->setProperty("on", on);
    }
}

void FilterButtons::changeEvent(QEvent *event)
{
    // The images come in a light and a dark variant: follow a theme switch.
    if (event->type() == QEvent::PaletteChange)
        showFilter(mValue);
    QWidget::changeEvent(event);
}
