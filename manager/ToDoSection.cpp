#include "ToDoSection.h"

#include "CommonKorvaleClass.h"
#include "DateFields.h"
#include "EmptyListHint.h"
#include "ItemEditing.h"
#include "ItemRecord.h"
#include "ManagerListFilter.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"
#include "ToDoItems.h"
#include "ToDoRowDelegate.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

ToDoEditorSheet::ToDoEditorSheet(QWidget *parent)
    : QDialog(parent)
    , mTitle(new QLineEdit)
    , mDate(new QDateTimeEdit)
    , mDone(new QCheckBox(localized(QStringLiteral("ToDoEditorDone"))))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(localized(QStringLiteral("ToDo")));
    mTitle->setObjectName(QStringLiteral("title"));
    mDate->setObjectName(QStringLiteral("date"));
    mDate->setCalendarPopup(true);
    DateFields::useFormatter(mDate, QOR_StringUtils::getShortTimeDateFormatter());
    mDone->setObjectName(QStringLiteral("done"));
    auto *form = new QFormLayout;
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorTitle")), mTitle);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("ToDoEditorDate")), mDate);
    form->addRow(QString(), mDone);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(400);
}

std::optional<QVariantMap> ToDoEditorSheet::edit(const QString &title, const QDateTime &date,
                                                 bool done)
{
    mTitle->setText(title);
    mDate->setDateTime(date.toLocalTime());
    mDone->setChecked(done);
    mTitle->setFocus();
    QTimer::singleShot(0, this, &ToDoEditorSheet::running);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return ToDoItems::newRecord(mTitle->text(), mDate->dateTime(), mDone->isChecked());
}

ToDoSectionView::ToDoSectionView(std::function<QDateTime()> now, QWidget *parent)
    : ListSectionView(
        [](const QVariant &item) { return item.toMap().value(ItemRecord::KeyTitle).toString(); },
        parent)
    , mSearch(new QLineEdit)
{
    mSearch->setPlaceholderText(localized(QStringLiteral("ManagerSearch")));
    mSearch->setClearButtonEnabled(true);
    mSearch->setObjectName(QStringLiteral("search"));
    mainLayout()->insertWidget(0, mSearch);
    connect(mSearch, &QLineEdit::textChanged, this, &ToDoSectionView::searchChanged);
    EmptyListHint::attach(table(), KORVALE_KEY("EmptyToDoHint"), mSearch);
    table()->setItemDelegate(
        new ToDoRowDelegate(RecordListModel::RecordRole, false, std::move(now), table()));
    connect(addButton(QStringLiteral("ManagerAdd")), &QPushButton::clicked, this,
            &ToDoSectionView::addRequested);
    mEdit = addEditButton();
    mRemove = addButton(QStringLiteral("ManagerRemove"));
    mRemove->setEnabled(false);
    connect(mRemove, &QPushButton::clicked, this, &ToDoSectionView::removeRequested);
    connect(this, &ListSectionView::selectionChanged, this, [this] {
        const bool selected = !selectedRows().isEmpty();
        mRemove->setEnabled(selected);
        mEdit->setEnabled(selected);
    });
}

ToDoSection::ToDoSection(std::function<QDateTime()> now, QObject *parent)
    : QObject(parent)
    , mNow(now ? std::move(now) : [] { return QDateTime::currentDateTime(); })
    , mFile(DataFileName::ToDo, {}, &ToDoItems::sort)
    , mView(new ToDoSectionView(mNow))
    , mEditor(new ToDoEditorSheet(mView))
{
    connect(mView, &ToDoSectionView::addRequested, this, &ToDoSection::addToDo);
    connect(mView, &ListSectionView::editRequested, this, [this] { editToDo(); });
    connect(mView, &ToDoSectionView::removeRequested, this, &ToDoSection::removeToDo);
    connect(mView, &ToDoSectionView::searchChanged, this, &ToDoSection::searchToDo);
    readList();
}

// The view belongs to the window it was given to.
ToDoSection::~ToDoSection() = default;

void ToDoSection::readList()
{
    mFile.refresh(mListOfToDo);
    searchToDo();
}

void ToDoSection::editToDo()
{
    const QList<int> positions = mView->selectedSourceIndexes();
    if (!positions.isEmpty())
        editToDoAtIndex(positions.first());
}

void ToDoSection::editToDoAtIndex(int position)
{
    QString title;
    QDateTime date = QOR_DateUtils::dayAt0Seconds(mNow());
    bool done = false;
    QVariantMap record;
    if (position >= 0) {
        if (position >= mListOfToDo.size())
            return;
        record = mListOfToDo.at(position).toMap();
        title = record.value(ItemRecord::KeyTitle).toString();
        date = ToDoItems::dueDate(record).value_or(date);
        done = ToDoItems::isDone(record);
    }
    const std::optional<QVariantMap> edited = mEditor->edit(title, date, done);
    if (!edited)
        return;
    // The list may have been read again while the sheet was open: the edit goes to its task
    // wherever that stands now.
    if (position < 0)
        mListOfToDo.append(*edited);
    else
        ListMerge::applyEdit(mListOfToDo, record, *edited);
    save();
}

void ToDoSection::removeToDo()
{
    ItemEditing::removeRows(mListOfToDo, mView->selectedSourceIndexes());
    save();
}

void ToDoSection::searchToDo()
{
    mView->model()->setList(mListOfToDo,
                            ManagerListFilter::search(mView->searchField()->text(), mListOfToDo));
}

void ToDoSection::save()
{
    // A failure is said by the alert of SaveFailures; the rows keep the change, saved again
    // with the next one.
    mFile.save(mListOfToDo);
    searchToDo();
}
