#include "InfoViews.h"

#include "OtherDataSourcesPanel.h"
#include "PathListEditor.h"
#include "QOR_StringUtils.h"

#include <QApplication>
#include <QCheckBox>
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
    , mText(new QLabel)
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
    setGesture(QString());
    mText->setWordWrap(true);
    mText->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(mVersion);
    layout->addSpacing(16);
    layout->addWidget(mText);
    layout->addStretch(2);
}

void WelcomeView::setGesture(const QString &gesture)
{
    mText->setText(gesture.isEmpty() ? localized(QStringLiteral("WelcomeTextNoGesture"))
                                     : localized(QStringLiteral("WelcomeText")).arg(gesture));
}

QString WelcomeView::welcomeText() const
{
    return mText->text();
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

OtherDataView::OtherDataView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(localized(QStringLiteral("OtherDataNote")));
    note->setWordWrap(true);
    layout->addWidget(note);
    for (const QString &key :
         {KORVALE_KEY("OtherDataBookmarksBox"), KORVALE_KEY("OtherDataFaviconsBox"),
          KORVALE_KEY("OtherDataAddressBookBox"), KORVALE_KEY("OtherDataCalendarBox")}) {
        auto *box = new QCheckBox(localized(key));
        layout->addWidget(box);
        mBoxes.append(box);
        connect(box, &QCheckBox::clicked, this, &OtherDataView::changed);
    }
    mSourcesPanel = new OtherDataSourcesPanel;
    connect(this, &OtherDataView::changed, mSourcesPanel,
            [this] { mSourcesPanel->setShownKinds(box(2)->isChecked(), box(3)->isChecked()); });
    layout->addSpacing(8);
    layout->addWidget(mSourcesPanel);
    mContactsPaths = new PathListEditor(localized(QStringLiteral("OtherDataContactsPathsTitle")),
                                        localized(QStringLiteral("OtherDataContactsFilter")));
    mCalendarPaths = new PathListEditor(localized(QStringLiteral("OtherDataCalendarPathsTitle")),
                                        localized(QStringLiteral("OtherDataCalendarFilter")));
    layout->addSpacing(8);
    layout->addWidget(mContactsPaths);
    layout->addSpacing(8);
    layout->addWidget(mCalendarPaths);
    layout->addStretch(1);
}

void OtherDataView::setSources(const Sources &sources)
{
    const bool values[] = {sources.bookmarks, sources.favicons, sources.addressBook,
                           sources.calendarEvents};
    for (int i = 0; i < mBoxes.size(); ++i)
        mBoxes.at(i)->setChecked(values[i]);
    mSourcesPanel->setShownKinds(sources.addressBook, sources.calendarEvents);
}

OtherDataView::Sources OtherDataView::sources() const
{
    return {mBoxes.at(0)->isChecked(), mBoxes.at(1)->isChecked(), mBoxes.at(2)->isChecked(),
            mBoxes.at(3)->isChecked()};
}

QCheckBox *OtherDataView::box(int index) const
{
    return mBoxes.value(index);
}
