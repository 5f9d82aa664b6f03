#include "KeyDetectionWindow.h"

#include "MoreInfoView.h"
#include "QOR_StringUtils.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

KeyDetectionWindow::KeyDetectionWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , mInformation(new QLabel(this))
    , mIndicator(new QLabel(this))
    , mMoreInfoView(new MoreInfoView(this))
{
    setWindowTitle(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("KeyDetectionWindowTitle")));
    mInformation->setMinimumWidth(360);
    mInformation->setAutoFillBackground(true);
    mInformation->setStyleSheet(QStringLiteral("QLabel { background: #303030; padding: 4px; }"));
    mIndicator->setMinimumWidth(40);

    auto *top = new QHBoxLayout;
    top->addWidget(mInformation, 1);
    top->addWidget(mIndicator);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mMoreInfoView);
    showKeys({});
}

QString KeyDetectionWindow::displayString(const KeyMap &map)
{
    if (map.isEmpty())
        return QCoreApplication::translate("KeyNames", "None");
    return map.localizedString();
}

void KeyDetectionWindow::showKeys(const KeyMap &map)
{
    mOrange = !mOrange;
    mInformation->setStyleSheet(
        QStringLiteral("QLabel { background: #303030; padding: 4px; color: %1; }")
            .arg(mOrange ? QStringLiteral("orange") : QStringLiteral("white")));
    mInformation->setText(displayString(map));
}

void KeyDetectionWindow::showYes()
{
    mInformation->setText(QCoreApplication::translate("KeyNames", "YES"));
}

void KeyDetectionWindow::setIndicator(const QString &text, const QColor &color)
{
    mIndicator->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(color.name()));
    mIndicator->setText(text);
}

QString KeyDetectionWindow::informationText() const
{
    return mInformation->text();
}

void KeyDetectionWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void KeyDetectionWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}
