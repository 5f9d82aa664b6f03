#include "ClipboardSection.h"

#include "ClipboardEditorSheet.h"
#include "ClipboardList.h"
#include "ClipboardSecret.h"
#include "ClipboardSectionView.h"
#include "CommonKorvaleClass.h"
#include "ItemRecord.h"
#include "ManagerListFilter.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <QListView>

using namespace ItemRecord;

ClipboardSection::ClipboardSection(NotificationCenter &notifications, QWidget *sheetParent,
                                   QObject *parent)
    : QObject(parent)
    , mNotifications(notifications)
    , mSheetParent(sheetParent)
    , mView(new ClipboardSectionView)
{
    connect(mView, &ClipboardSectionView::searchChanged, this, &ClipboardSection::searchClipboard);
    connect(mView, &ClipboardSectionView::addRequested, this, &ClipboardSection::addClipboard);
    connect(mView, &ClipboardSectionView::removeRequested, this,
            &ClipboardSection::removeClipboard);
    connect(mView, &ListSectionView::editRequested, this, &ClipboardSection::editClipboard);
}

ClipboardSection::~ClipboardSection() = default;

ClipboardEditorSheet *ClipboardSection::editor()
{
    if (!mEditor)
        mEditor = std::make_unique<ClipboardEditorSheet>(mSheetParent);
    return mEditor.get();
}

void ClipboardSection::load()
{
    mStore.refresh(mListOfClipboard);
    searchClipboard();
}

void ClipboardSection::reloadIfChanged()
{
    if (mStore.changedOnDisk())
        load();
}

void ClipboardSection::refreshFromDisk()
{
    if (mStore.changedOnDisk())
        mStore.refresh(mListOfClipboard);
}

void ClipboardSection::store()
{
    ClipboardList::sortList(mListOfClipboard);
    const bool saved = mStore.save(mListOfClipboard);
    searchClipboard();
    // Not saved: the entries stay in the window as edited, and SaveFailures' alert says why.
    if (saved)
        ClipboardStore::tellAgent(mNotifications);
}

void ClipboardSection::refuseSecret()
{
    QOR_WindowsUtils::modalCriticalAlertForWindow(
        mSheetParent,
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ClipboardSecretNotSavedTitle")),
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ClipboardSecretNotSavedText")),
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("OKButton")), {}, {});
}

void ClipboardSection::addClipboard()
{
    // Before the editor, which would show the password's text as the title.
    if (ClipboardSecret::isOnClipboard()) {
        refuseSecret();
        return;
    }
    const std::optional<QString> text = CommonKorvaleClass::getStringFromPasteboard();
    const std::optional<ClipboardEditorSheet::Result> result =
        editor()->edit(text.value_or(QString()), std::nullopt);
    if (!result || !result->packed || result->packed->isEmpty())
        return;
    // The editor's button may have taken a password meanwhile.
    if (ClipboardSecret::isSecret(*result->packed)) {
        refuseSecret();
        return;
    }
    refreshFromDisk();
    ClipboardList::add(mListOfClipboard, result->title, *result->packed);
    store();
}

void ClipboardSection::editClipboard(int row)
{
    if (row < 0 || row >= mListOfClipboardDisplayed.size())
        return;
    const int index = mListOfClipboardDisplayed.at(row);
    if (index < 0 || index >= mListOfClipboard.size())
        return;
    const QVariantMap original = mListOfClipboard.at(index).toMap();
    const std::optional<ClipboardEditorSheet::Result> result = editor()->edit(
        original.value(KeyTitle).toString(), original.value(KeyClipboardContents).toByteArray());
    if (!result || !result->packed || result->packed->isEmpty())
        return;
    if (ClipboardSecret::isSecret(*result->packed)) {
        refuseSecret();
        return;
    }
    refreshFromDisk();
    ClipboardList::replace(mListOfClipboard, original, result->title, *result->packed);
    store();
}

void ClipboardSection::removeClipboard(const QList<int> &rows)
{
    const QVariantList records = ClipboardList::recordsAt(
        mListOfClipboard, ManagerListFilter::recordPositions(mListOfClipboardDisplayed, rows));
    if (records.isEmpty())
        return;
    refreshFromDisk();
    ClipboardList::removeRecords(mListOfClipboard, records);
    mListOfClipboardDisplayed.clear();
    store();
}

void ClipboardSection::searchClipboard()
{
    mView->table()->clearSelection();
    mListOfClipboardDisplayed = ManagerListFilter::search(mView->searchText(), mListOfClipboard);
    mView->setEntries(
        mListOfClipboard, mListOfClipboardDisplayed,
        ManagerListFilter::counterText(mListOfClipboardDisplayed.size(), mListOfClipboard.size()));
}
