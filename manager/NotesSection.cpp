#include "NotesSection.h"

#include "AtomicFile.h"
#include "EmptyListHint.h"
#include "ItemEditing.h"
#include "KorvaleLog.h"
#include "ListIcons.h"
#include "ListSectionView.h"
#include "ManagerListFilter.h"
#include "NoteEditorSheet.h"
#include "NoteLists.h"
#include "NotesText.h"
#include "PasswordSheet.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "RecordListModel.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

class NotesView : public ListSectionView
{
public:
    NotesView()
        : ListSectionView(
            [](const QVariant &note) { return note.toMap().value(QStringLiteral("T")).toString(); })
    {
    }
    using ListSectionView::addButton;
    using ListSectionView::addEditButton;
    using ListSectionView::mainLayout;
};

} // namespace

NotesSection::NotesSection(NotesFile::Kind kind, QWidget *window, QObject *parent)
    : QObject(parent)
    , mFile(kind)
    , mWindow(window)
{
    auto *view = new NotesView;
    mView = view;
    view->setObjectName(isProtected() ? QStringLiteral("ProtectedNotesSection")
                                      : QStringLiteral("NotesSection"));
    const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    view->model()->setRowIcon(ListIcons::createStandardIcon(
        isProtected() ? QIcon::fromTheme(QStringLiteral("object-locked"), fallback)
                      : QIcon::fromTheme(QStringLiteral("text-x-generic"), fallback)));
    view->model()->setToolTip(
        [](const QVariant &note) { return NotesText::toolTip(note.toMap()); });
    mSearch = new QLineEdit;
    mSearch->setObjectName(QStringLiteral("search"));
    mSearch->setPlaceholderText(text("NotesSearchPlaceholder"));
    mSearch->setClearButtonEnabled(true);
    mCounter = new QLabel;
    auto *top = new QHBoxLayout;
    top->addWidget(mSearch, 1);
    top->addWidget(mCounter);
    view->mainLayout()->insertLayout(0, top);
    connect(mSearch, &QLineEdit::textChanged, this, &NotesSection::search);
    EmptyListHint::attach(view->table(),
                          isProtected() ? KORVALE_KEY("EmptyProtectedNotesHint")
                                        : KORVALE_KEY("EmptyNotesHint"),
                          mSearch);

    connect(view->addButton(QStringLiteral("NotesNew")), &QPushButton::clicked, this,
            &NotesSection::newNote);
    mSelectionButtons << view->addEditButton();
    connect(view, &ListSectionView::editRequested, this, [this](int) { editNote(); });
    auto selectionButton = [&](const char *key, void (NotesSection::*slot)()) {
        QPushButton *button = view->addButton(QString::fromLatin1(key));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, slot);
        mSelectionButtons << button;
    };
    selectionButton("NotesDuplicate", &NotesSection::duplicateNotes);
    selectionButton(isProtected() ? "NotesMoveToNotes" : "NotesMoveToProtected",
                    &NotesSection::moveNotes);
    selectionButton("NotesReplace", &NotesSection::findAndReplace);
    selectionButton("NotesExport", &NotesSection::exportNotes);
    selectionButton("NotesRemove", &NotesSection::removeNotes);
    connect(view->addButton(QStringLiteral("NotesImport")), &QPushButton::clicked, this,
            &NotesSection::importNotes);
    if (isProtected()) {
        mChangePassword = view->addButton(QStringLiteral("NotesChangePassword"));
        connect(mChangePassword, &QPushButton::clicked, this, &NotesSection::changePassword);
    }
    connect(view, &ListSectionView::selectionChanged, this, &NotesSection::updateButtons);
    if (!isProtected())
        reload();
    updateButtons();
}

NotesSection::~NotesSection()
{
    if (mView && !mView->parent())
        delete mView.data();
}

QWidget *NotesSection::view() const
{
    return mView;
}

bool NotesSection::open()
{
    const bool unlocked = unlockForCommand();
    mSearch->setFocus();
    return unlocked;
}

bool NotesSection::unlockForCommand()
{
    if (isProtected() && !mFile.isUnlocked())
        changePassword();
    return !isProtected() || mFile.isUnlocked();
}

void NotesSection::changePassword()
{
    QVariantList notes;
    const PasswordSheet::Outcome outcome = PasswordSheet::unlock(mWindow, mFile, notes, false);
    if (outcome == PasswordSheet::Outcome::Cancelled) {
        updateButtons();
        if (!mFile.isUnlocked())
            emit stayedLocked();
        return; // the key held stays
    }
    mNotes = notes;
    // A refused password dropped any key held: nothing of the section is left to show.
    if (!mFile.isUnlocked()) {
        search();
        emit stayedLocked();
        return;
    }
    // Notes that came in under another kind are protected ones now.
    bool changed = false;
    for (QVariant &note : mNotes) {
        QVariantMap map = note.toMap();
        if (map.value(QStringLiteral("x")).toInt() != 6) {
            map.insert(QStringLiteral("x"), 6);
            note = map;
            changed = true;
        }
    }
    if (mFile.isUnlocked() && (changed || mFile.readFirstFormat()))
        save();
    search();
}

void NotesSection::reload()
{
    if (isProtected() && !mFile.isUnlocked())
        return;
    // A change whose save failed is saved with what the file holds now rather than dropped.
    if (mFile.lastFailure().failed()) {
        save();
        return;
    }
    QVariantList notes;
    if (mFile.read(notes) == NotesFile::Status::Ok)
        mNotes = notes;
    search();
}

void NotesSection::search()
{
    const QList<int> shown = ManagerListFilter::search(mSearch->text(), mNotes);
    mView->model()->setList(mNotes, shown);
    mCounter->setText(ManagerListFilter::counterText(shown.size(), mNotes.size()));
    updateButtons();
}

void NotesSection::updateButtons()
{
    const bool selected = !mView->selectedRows().isEmpty();
    for (QPushButton *button : std::as_const(mSelectionButtons))
        button->setEnabled(selected);
    if (mChangePassword)
        mChangePassword->setEnabled(mFile.isUnlocked());
}

QList<int> NotesSection::selectedIndexes() const
{
    return mView->selectedSourceIndexes();
}

bool NotesSection::save()
{
    const NotesFile::Status status = mFile.save(mNotes);
    search();
    if (status == NotesFile::Status::Ok) {
        emit saved();
        if (!mFile.keptAside().isEmpty())
            PasswordSheet::showKeptAside(mWindow, mFile.keptAside());
        return true;
    }
    // Nothing typed is dropped: the notes stay in the window. A failed write is said by
    // SaveFailures' alert, anything else here.
    if (status != NotesFile::Status::NotSaved)
        QOR_WindowsUtils::modalCriticalAlertForWindow(mWindow, text("NotesNotSavedTitle"),
                                                      text("NotesNotSavedText"), text("OKButton"),
                                                      {}, {});
    return false;
}

bool NotesSection::appendAndSave(const QVariantList &records)
{
    if (isProtected() && !mFile.isUnlocked())
        return false;
    mNotes.append(records);
    NoteLists::sortByTitle(mNotes);
    return save();
}

void NotesSection::newNote()
{
    if (!unlockForCommand())
        return;
    const std::optional<QVariantMap> note =
        NoteEditorSheet::edit(mWindow, {{QStringLiteral("x"), isProtected() ? 6 : 5}}, mCapture);
    if (note)
        appendAndSave({*note});
}

void NotesSection::editNote()
{
    const QList<int> indexes = selectedIndexes();
    if (indexes.isEmpty())
        return;
    const QVariantMap original = mNotes.value(indexes.first()).toMap();
    std::optional<QVariantMap> edited = NoteEditorSheet::edit(mWindow, original, mCapture);
    if (!edited)
        return;
    // The notes may have been read again while the sheet was open: the note edited is found by
    // its value; when it is gone, the edit is added rather than lost.
    const qsizetype at = mNotes.indexOf(original);
    if (at >= 0)
        mNotes.removeAt(at);
    appendAndSave({*edited});
}

bool NotesSection::editMatching(const QVariantMap &record)
{
    if (!isUnlocked())
        return false;
    mSearch->clear();
    search();
    // Of a protected note the agent sends only its kind: the section is open, the user picks it.
    if (!record.contains(QStringLiteral("T")) && !record.contains(QStringLiteral("t")))
        return false;
    const auto same = [&](const QVariantMap &note, const char *key) {
        const QString name = QString::fromLatin1(key);
        return note.value(name).toString() == record.value(name).toString();
    };
    RecordListModel *model = mView->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QVariantMap note = mNotes.value(model->sourceIndex(row)).toMap();
        if (!same(note, "T") || !same(note, "t"))
            continue;
        QListView *table = mView->table();
        table->setCurrentIndex(model->index(row, 0));
        table->selectionModel()->select(model->index(row, 0), QItemSelectionModel::ClearAndSelect);
        table->scrollTo(model->index(row, 0));
        editNote();
        return true;
    }
    return false;
}

void NotesSection::duplicateNotes()
{
    QVariantList copies;
    for (int index : selectedIndexes())
        copies.append(mNotes.value(index));
    if (!copies.isEmpty())
        appendAndSave(copies);
}

void NotesSection::moveNotes()
{
    if (!mOther || (mOther->isProtected() && !mOther->open()))
        return;
    QList<int> indexes = selectedIndexes();
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    QVariantList moved;
    for (int index : std::as_const(indexes)) {
        QVariantMap note = mNotes.value(index).toMap();
        note.insert(QStringLiteral("x"), mOther->isProtected() ? 6 : 5);
        moved.prepend(note);
    }
    // The destination first: a note is never only in memory.
    if (moved.isEmpty() || !mOther->appendAndSave(moved))
        return;
    for (int index : std::as_const(indexes))
        mNotes.removeAt(index);
    save();
}

void NotesSection::removeNotes()
{
    const QList<int> indexes = selectedIndexes();
    ItemEditing::removeRows(mNotes, indexes);
    if (!indexes.isEmpty())
        save();
}

void NotesSection::importNotes()
{
    if (!unlockForCommand())
        return;
    const QString path =
        QFileDialog::getOpenFileName(mWindow, text("NotesImport"), QDir::homePath());
    if (path.isEmpty())
        return;
    const NotesText::ImportedFile imported = NotesText::importNotesFromFile(path, isProtected());
    if (!imported.failure.isEmpty())
        KorvaleLog::line(
            QStringLiteral("Exception reading file %1: %2").arg(path, imported.failure));
    if (!imported.notes.isEmpty())
        appendAndSave(imported.notes);
}

void NotesSection::exportNotes()
{
    QVariantList selected;
    for (int index : selectedIndexes())
        selected.append(mNotes.value(index));
    const QByteArray bytes = NotesText::exportNotes(selected);
    if (bytes.isEmpty())
        return;
    const QString path = QFileDialog::getSaveFileName(
        mWindow, text("NotesExport"), QDir::homePath() + QStringLiteral("/Export.txt"));
    if (!path.isEmpty())
        AtomicFile::write(path, bytes);
}

void NotesSection::findAndReplace()
{
    QDialog sheet(mWindow);
    // A window's title names it: the button's ellipsis has no place there.
    sheet.setObjectName(QStringLiteral("NotesReplaceSheet"));
    sheet.setWindowTitle(text("NotesReplaceTitle"));
    sheet.setWindowModality(Qt::WindowModal);
    auto *form = new QFormLayout(&sheet);
    auto *find = new QLineEdit(&sheet);
    auto *replacement = new QLineEdit(&sheet);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("NotesFindLabel")), find);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("NotesReplaceLabel")),
                 replacement);
    auto *buttons = new QDialogButtonBox(&sheet);
    buttons->addButton(text("OKButton"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(text("CancelButton"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
    form->addRow(buttons);
    if (sheet.exec() != QDialog::Accepted || find->text().isEmpty())
        return;
    for (int index : selectedIndexes())
        mNotes[index] =
            NotesText::replaced(mNotes.value(index).toMap(), find->text(), replacement->text());
    NoteLists::sortByTitle(mNotes);
    save();
}
