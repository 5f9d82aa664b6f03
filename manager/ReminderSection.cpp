#include "ReminderSection.h"

#include "CommonKorvaleClass.h"
#include "EmptyListHint.h"
#include "ItemEditing.h"
#include "ItemRecord.h"
#include "ManagerListFilter.h"
#include "PersonalDataIcons.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "TextMatching.h"
#include "platform/NotificationCenter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

const QStringList ColorKeys{KORVALE_KEY("ReminderColorYellow"), KORVALE_KEY("ReminderColorRed"),
                            KORVALE_KEY("ReminderColorGreen"), KORVALE_KEY("ReminderColorBlue")};

// The row's icon is its colour.
class ReminderRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int color =
            index.data(RecordListModel::RecordRole).toMap().value(ItemRecord::KeyColor).toInt();
        option->icon = PersonalDataIcons::icon(PersonalDataIcons::reminderIconName(color));
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = QSize(16, 16);
    }
};

} // namespace

ReminderEditorSheet::ReminderEditorSheet(QWidget *parent)
    : QDialog(parent)
    , mTitle(new QLineEdit)
    , mColor(new QComboBox)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(localized(QStringLiteral("Reminder")));
    mTitle->setObjectName(QStringLiteral("title"));
    mColor->setObjectName(QStringLiteral("color"));
    for (int index = 0; index < ColorKeys.size(); ++index)
        mColor->addItem(PersonalDataIcons::icon(PersonalDataIcons::reminderIconName(index)),
                        localized(ColorKeys.at(index)));
    auto *form = new QFormLayout;
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorTitle")), mTitle);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("ReminderEditorColor")),
                 mColor);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

std::optional<QVariantMap> ReminderEditorSheet::edit(const QString &title, int color)
{
    mTitle->setText(title);
    mColor->setCurrentIndex(std::clamp(color, 0, int(ColorKeys.size()) - 1));
    mTitle->setFocus();
    QTimer::singleShot(0, this, &ReminderEditorSheet::running);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return QVariantMap{{ItemRecord::KeyKind, int(ItemRecord::KindReminder)},
                       {ItemRecord::KeyTitle, mTitle->text()},
                       {ItemRecord::KeyColor, mColor->currentIndex()}};
}

ReminderSectionView::ReminderSectionView(QWidget *parent)
    : ListSectionView(
        [](const QVariant &item) { return item.toMap().value(ItemRecord::KeyTitle).toString(); },
        parent)
    , mSearch(new QLineEdit)
    , mToDoBox(new QCheckBox(localized(QStringLiteral("ReminderAddToDoItemsBox"))))
    , mCalendarBox(new QCheckBox(localized(QStringLiteral("ReminderAddCalendarEntriesBox"))))
{
    mSearch->setPlaceholderText(localized(QStringLiteral("ManagerSearch")));
    mSearch->setClearButtonEnabled(true);
    mSearch->setObjectName(QStringLiteral("search"));
    mainLayout()->insertWidget(0, mSearch);
    mainLayout()->addWidget(mToDoBox);
    mainLayout()->addWidget(mCalendarBox);
    mToDoBox->setObjectName(QStringLiteral("ReminderAddToDoItems"));
    mCalendarBox->setObjectName(QStringLiteral("ReminderAddCalendarEntries"));
    table()->setItemDelegate(new ReminderRowDelegate(table()));
    connect(mSearch, &QLineEdit::textChanged, this, &ReminderSectionView::searchChanged);
    EmptyListHint::attach(table(), KORVALE_KEY("EmptyRemindersHint"), mSearch);
    connect(addButton(QStringLiteral("ManagerAdd")), &QPushButton::clicked, this,
            &ReminderSectionView::addRequested);
    mEdit = addEditButton();
    mRemove = addButton(QStringLiteral("ManagerRemove"));
    mRemove->setEnabled(false);
    connect(mRemove, &QPushButton::clicked, this, &ReminderSectionView::removeRequested);
    connect(this, &ListSectionView::selectionChanged, this, [this] {
        const bool selected = !selectedRows().isEmpty();
        mRemove->setEnabled(selected);
        mEdit->setEnabled(selected);
    });
    connect(mToDoBox, &QCheckBox::clicked, this, &ReminderSectionView::settingsChanged);
    connect(mCalendarBox, &QCheckBox::clicked, this, &ReminderSectionView::settingsChanged);
}

ReminderSection::ReminderSection(SharedPreferences *preferences, NotificationCenter *notifications,
                                 QObject *parent)
    : QObject(parent)
    , mPreferences(preferences)
    , mNotifications(notifications)
    , mFile(DataFileName::Reminder, {}, &ReminderSection::sortReminders)
    , mView(new ReminderSectionView)
    , mEditor(new ReminderEditorSheet(mView))
{
    connect(mView, &ReminderSectionView::addRequested, this, &ReminderSection::addReminder);
    connect(mView, &ListSectionView::editRequested, this, [this] { editReminder(); });
    connect(mView, &ReminderSectionView::removeRequested, this, &ReminderSection::removeReminder);
    connect(mView, &ReminderSectionView::searchChanged, this, &ReminderSection::searchReminder);
    connect(mView, &ReminderSectionView::settingsChanged, this,
            &ReminderSection::reminderSettingsDidChange);
    // Absent means on.
    mView->toDoBox()->setChecked(
        mPreferences->value(QStringLiteral("ReminderAddToDoItems"), 1).toInt() != 0);
    mView->calendarBox()->setChecked(
        mPreferences->value(QStringLiteral("ReminderAddCalendarEntries"), 1).toInt() != 0);
    readList();
}

void ReminderSection::readList()
{
    mFile.refresh(mListOfReminder);
    searchReminder();
}

void ReminderSection::editReminder()
{
    const QList<int> positions = mView->selectedSourceIndexes();
    if (!positions.isEmpty())
        editReminderAtIndex(positions.first());
}

void ReminderSection::editReminderAtIndex(int position)
{
    QString title;
    int color = 0;
    QVariantMap record;
    if (position >= 0) {
        if (position >= mListOfReminder.size())
            return;
        record = mListOfReminder.at(position).toMap();
        title = record.value(ItemRecord::KeyTitle).toString();
        color = record.value(ItemRecord::KeyColor).toInt();
    }
    const std::optional<QVariantMap> edited = mEditor->edit(title, color);
    if (!edited)
        return;
    // Applied to the reminder the sheet was opened on, wherever it stands when OK is pressed.
    if (position < 0)
        mListOfReminder.append(*edited);
    else
        ListMerge::applyEdit(mListOfReminder, record, *edited);
    save();
}

void ReminderSection::removeReminder()
{
    ItemEditing::removeRows(mListOfReminder, mView->selectedSourceIndexes());
    save();
}

void ReminderSection::searchReminder()
{
    mView->model()->setList(
        mListOfReminder, ManagerListFilter::search(mView->searchField()->text(), mListOfReminder));
}

void ReminderSection::reminderSettingsDidChange()
{
    mPreferences->setValue(QStringLiteral("ReminderAddToDoItems"),
                           mView->toDoBox()->isChecked() ? 1 : 0);
    mPreferences->setValue(QStringLiteral("ReminderAddCalendarEntries"),
                           mView->calendarBox()->isChecked() ? 1 : 0);
    mPreferences->synchronize();
    if (mNotifications)
        mNotifications->post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
}

void ReminderSection::sortReminders(QVariantList &list)
{
    TextMatching::sortByTitle(list, [](const QVariant &item) -> std::optional<QString> {
        const QVariantMap record = item.toMap();
        if (!record.contains(ItemRecord::KeyTitle))
            return std::nullopt;
        return record.value(ItemRecord::KeyTitle).toString();
    });
}

void ReminderSection::save()
{
    mFile.save(mListOfReminder);
    searchReminder();
}
