#include "DateSheet.h"

#include "DateFields.h"
#include "QOR_StringUtils.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

} // namespace

DateSheet::DateSheet(QWidget *parent)
    : QDialog(parent)
    , mCurrentDate(new QLabel)
    , mDate(new QDateTimeEdit(QDateTime::currentDateTime()))
    , mAbsolute(new QRadioButton(localized("BrowserDateAbsolute")))
    , mShift(new QRadioButton(localized("BrowserDateShift")))
    , mInsideFolder(new QCheckBox(localized("BrowserDateInsideFolder")))
{
    setObjectName(QStringLiteral("dateSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(localized("DateSheetTitle"));
    mCurrentDate->setObjectName(QStringLiteral("currentDate"));
    mDate->setObjectName(QStringLiteral("date"));
    mDate->setCalendarPopup(true);
    DateFields::useFormatter(mDate, QOR_StringUtils::getShortTimeSecondsDateFormatter());
    mAbsolute->setObjectName(QStringLiteral("absolute"));
    mShift->setObjectName(QStringLiteral("shift"));
    mInsideFolder->setObjectName(QStringLiteral("insideFolder"));
    auto *modes = new QButtonGroup(this);
    modes->addButton(mAbsolute);
    modes->addButton(mShift);
    mAbsolute->setChecked(true);

    auto *form = new QFormLayout;
    form->addRow(localized("BrowserDateCurrent"), mCurrentDate);
    form->addRow(localized("BrowserDateNew"), mDate);
    form->addRow(QString(), mAbsolute);
    form->addRow(QString(), mShift);
    form->addRow(QString(), mInsideFolder);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(localized("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(localized("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

std::optional<DateSheet::Choice> DateSheet::ask(const QDateTime &referenceDate)
{
    mCurrentDate->setText(QOR_StringUtils::getShortTimeSecondsDate(referenceDate));
    mDate->setDateTime(referenceDate);
    mDate->setFocus();
    QTimer::singleShot(0, this, &DateSheet::running);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    Choice choice;
    choice.chosen = mDate->dateTime();
    choice.absolute = mAbsolute->isChecked();
    choice.insideFolders = mInsideFolder->isChecked();
    // The field shows whole seconds: so does the shift it gives.
    choice.variation = double(choice.chosen.toSecsSinceEpoch() - referenceDate.toSecsSinceEpoch());
    return choice;
}
