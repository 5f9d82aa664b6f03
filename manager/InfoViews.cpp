#include "InfoViews.h"

#include "QOR_StringUtils.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

WelcomeView::WelcomeView(QWidget *parent)
    : QWidget(parent)
    , mVersion(new QLabel)
{
    auto *icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(96, 96));
    icon->setAlignment(Qt::AlignCenter);
    auto *title = new QLabel(QStringLiteral("Korvale"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    mVersion->setAlignment(Qt::AlignCenter);
    mVersion->setObjectName(QStringLiteral("version"));
    auto *text = new QLabel(localized(QStringLiteral("WelcomeText")));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(mVersion);
    layout->addSpacing(16);
    layout->addWidget(text);
    layout->addStretch(2);
}

void WelcomeView::setVersion(const QString &version)
{
    mVersion->setText(localized(QStringLiteral("AboutVersion")).arg(version));
}

QString WelcomeView::versionText() const
{
    return mVersion->text();
}

QuickHelpView::QuickHelpView(QWidget *parent)
    : QWidget(parent)
{
    auto *text = new QTextBrowser;
    text->setHtml(localized(QStringLiteral("QuickHelpText")));
    text->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
}

ComingSectionView::ComingSectionView(const QString &textKey, QWidget *parent)
    : QWidget(parent)
{
    auto *text = new QLabel(localized(textKey));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    text->setObjectName(QStringLiteral("coming"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
}
