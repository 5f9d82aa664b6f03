#include "StockSurveyWindow.h"

#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

StockSurveyWindow::StockSurveyWindow(QWidget *parent)
    : QWidget(parent,
              Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
    , mTitle(new QLabel(this))
    , mReason(new QLabel(this))
    , mValue(new QLabel(this))
{
    setObjectName(QStringLiteral("StockSurveyWindow"));
    // In front, but the keys stay where the user types: a pass on selection starts while the
    // access window's search field is still being typed in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("StockSurveyTitle")));
    QFont titleFont = mTitle->font();
    titleFont.setBold(true);
    mTitle->setFont(titleFont);
    mTitle->setAlignment(Qt::AlignCenter);
    mReason->setAlignment(Qt::AlignCenter);
    QFont valueFont = mValue->font();
    valueFont.setPointSize(ValuePointSize);
    mValue->setFont(valueFont);
    mValue->setAlignment(Qt::AlignCenter);
    for (QLabel *label : {mTitle, mReason, mValue})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTitle);
    layout->addWidget(mReason);
    layout->addWidget(mValue);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Room for a long value, and for the window's title in the frame beside its icon and
    // buttons (about ten letters' width), which the window manager would cut short.
    QFont frameTitle = font();
    frameTitle.setBold(true);
    const int letter = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    mTitle->setMinimumWidth(std::max(
        letter * 22, QFontMetrics(frameTitle).horizontalAdvance(windowTitle()) + letter * 10));
}

void StockSurveyWindow::showSurvey(const QString &title, const QString &reason,
                                   const QString &value)
{
    mTitle->setText(title);
    mReason->setText(reason);
    mReason->setVisible(!reason.isEmpty());
    mValue->setText(value);
    if (!isVisible()) {
        adjustSize();
        QOR_WindowsUtils::centerWindow(this);
    }
    show();
    raise();
}

void StockSurveyWindow::clearValue()
{
    mValue->clear();
}

QString StockSurveyWindow::title() const
{
    return mTitle->text();
}

QString StockSurveyWindow::reason() const
{
    return mReason->text();
}

QString StockSurveyWindow::value() const
{
    return mValue->text();
}

void StockSurveyWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // A minimised window is still open.
    if (!isMinimized())
        emit hidden();
}
