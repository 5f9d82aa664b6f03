#include "AgentItemEditor.h"

#include "AgentEditorDialogs.h"
#include "AgentProtectedNotes.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "ListFile.h"
#include "ListMerge.h"
#include "NotesFile.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "SaveFailures.h"

using namespace ItemRecord;

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

bool sameValue(const QVariantMap &a, const QVariantMap &b, const QString &key)
{
    return a.value(key).toString() == b.value(key).toString();
}

} // namespace

AgentItemEditor::AgentItemEditor(Environment environment, QObject *parent)
    : QObject(parent)
    , mEnvironment(std::move(environment))
{
    if (!mEnvironment.editStock)
        mEnvironment.editStock = &AgentEditorDialogs::editStock;
    if (!mEnvironment.editNote)
        mEnvironment.editNote = &AgentEditorDialogs::editNote;
}

std::optional<qsizetype> AgentItemEditor::findStock(const QVariantList &stocks,
                                                    const QVariantMap &shown)
{
    for (qsizetype i = 0; i < stocks.size(); ++i) {
        if (sameValue(stocks.at(i).toMap(), shown, KeyTitle))
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> AgentItemEditor::findNote(const QVariantList &notes,
                                                   const QVariantMap &shown)
{
    for (qsizetype i = 0; i < notes.size(); ++i) {
        const QVariantMap note = notes.at(i).toMap();
        if (sameValue(note, shown, KeyTitle) && sameValue(note, shown, KeyText))
            return i;
    }
    return std::nullopt;
}

QWidget *AgentItemEditor::window() const
{
    return mEnvironment.window ? mEnvironment.window() : nullptr;
}

void AgentItemEditor::doEditItem(const QVariantMap &record)
{
    const int itemKind = kind(record);
    const bool managerRuns = mEnvironment.managerRunning && mEnvironment.managerRunning();
    if (itemKind == KindStock) {
        editStock(record);
        return;
    }
    if (itemKind == KindNote && !managerRuns) {
        editNote(record);
        return;
    }
    if (itemKind == KindProtectedNote && !managerRuns && mEnvironment.protectedNotes
        && mEnvironment.protectedNotes->isUnlocked()) {
        editProtectedNote(record);
        return;
    }
    if (mEnvironment.handOver)
        mEnvironment.handOver(record);
}

void AgentItemEditor::editStock(const QVariantMap &record)
{
    QVariantList *stocks = mEnvironment.stocks;
    if (!stocks)
        return;
    const std::optional<qsizetype> at = findStock(*stocks, record);
    if (!at)
        return;
    const QVariantMap found = stocks->at(*at).toMap();
    const std::optional<QVariantMap> edited = mEnvironment.editStock(window(), found);
    if (!edited)
        return;
    // A survey pass may have stored newer quotes while the dialog was open: only the three
    // values of the dialog go to the entry as it stands now.
    QVariantMap current = found;
    const std::optional<qsizetype> now = findStock(*stocks, record);
    if (now)
        current = stocks->at(*now).toMap();
    for (const QString &key : {KeyStockURL, KeyValMin, KeyValMax})
        current.insert(key, edited->value(key));
    if (now)
        (*stocks)[*now] = current;
    else
        stocks->append(current);
    // A failed save is said by SaveFailures; the edit stays in the agent's list and goes to the
    // file with its next save.
    if (mEnvironment.stocksFile)
        mEnvironment.stocksFile->save(*stocks);
    emit itemEdited(found, current);
}

bool AgentItemEditor::editNote(const QVariantMap &record)
{
    QVariantList *notes = mEnvironment.notes;
    if (!notes)
        return false;
    const std::optional<qsizetype> at = findNote(*notes, record);
    if (!at)
        return false;
    const QVariantMap found = notes->at(*at).toMap();
    // A note that could not be saved comes back in the editor as typed, so nothing typed is
    // lost and the user can try again once the disk has room.
    QVariantMap shown = found;
    for (;;) {
        const std::optional<QVariantMap> edited = mEnvironment.editNote(window(), shown);
        if (!edited)
            return false;
        // The edit goes to the file as it is now: what the manager or korvale-notes saved since
        // the agent last read it stays, and the save still merges with a write in between.
        NotesFile file(NotesFile::Kind::Notes, mEnvironment.notesPath);
        QVariantList current;
        file.read(current);
        ListMerge::applyEdit(current, found, *edited);
        const SaveFailures::SaidByCaller saidHere;
        if (file.save(current) == NotesFile::Status::Ok) {
            *notes = current;
            if (mEnvironment.notesSaved)
                mEnvironment.notesSaved();
            emit itemEdited(found, *edited);
            return true;
        }
        sayNotSaved(file.lastFailure());
        shown = *edited;
    }
}

void AgentItemEditor::sayNotSaved(const SaveFailure &failure)
{
    const QString why = failure.failed() ? failure.reasonText() + QLatin1Char(' ') : QString();
    QOR_WindowsUtils::modalCriticalAlertForWindow(window(), text("NotesNotSavedTitle"),
                                                  why + text("NotesNotSavedText"), text("OKButton"),
                                                  {}, {});
}

bool AgentItemEditor::editProtectedNote(const QVariantMap &record)
{
    AgentProtectedNotes *vault = mEnvironment.protectedNotes;
    const std::optional<qsizetype> at = findNote(vault->notes(), record);
    if (!at)
        return false;
    const QVariantMap found = vault->notes().at(*at).toMap();
    QVariantMap shown = found;
    for (;;) {
        const std::optional<QVariantMap> edited = mEnvironment.editNote(window(), shown);
        if (!edited)
            return false;
        // The password may have expired while the dialog was open: then nothing can be saved,
        // and the text typed is not kept anywhere either.
        const SaveFailures::SaidByCaller saidHere;
        if (vault->saveEdit(found, *edited)) {
            if (mEnvironment.notesSaved)
                mEnvironment.notesSaved();
            emit itemEdited(found, *edited);
            return true;
        }
        sayNotSaved(vault->lastFailure());
        if (!vault->isUnlocked() || !vault->lastFailure().failed())
            return false;
        shown = *edited;
    }
}
