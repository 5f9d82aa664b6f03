#include "AgentProtectedNotes.h"

#include "KorvaleLog.h"
#include "ListMerge.h"
#include "PasswordSheet.h"
#include "SearchController.h"

AgentProtectedNotes::AgentProtectedNotes(QVariantList &searchedList, SearchController *search,
                                         QObject *parent, int deadlineMs)
    : QObject(parent)
    , mSearched(searchedList)
    , mSearch(search)
    , mFile(NotesFile::Kind::ProtectedNotes)
{
    mDeadline.setSingleShot(true);
    mDeadline.setInterval(deadlineMs);
    connect(&mDeadline, &QTimer::timeout, this, &AgentProtectedNotes::lock);
}

AgentProtectedNotes::~AgentProtectedNotes()
{
    lock();
}

bool AgentProtectedNotes::askPassword(QWidget *window)
{
    lock();
    QVariantList notes;
    if (PasswordSheet::unlock(window, mFile, notes, true) != PasswordSheet::Outcome::Unlocked)
        return false;
    mSearched = notes;
    extendDeadline();
    return true;
}

void AgentProtectedNotes::extendDeadline()
{
    if (mFile.isUnlocked())
        mDeadline.start();
}

void AgentProtectedNotes::reload()
{
    if (!mFile.isUnlocked())
        return;
    QVariantList notes;
    if (mFile.read(notes) == NotesFile::Status::Ok)
        mSearched = notes;
    else
        KorvaleLog::line(QStringLiteral(
            "The protected notes changed under another password; kept as they were"));
}

bool AgentProtectedNotes::saveEdit(const QVariantMap &original, const QVariantMap &edited)
{
    if (!mFile.isUnlocked())
        return false;
    QVariantList notes = mSearched;
    ListMerge::applyEdit(notes, original, edited);
    const NotesFile::Status status = mFile.save(notes);
    if (status != NotesFile::Status::Ok) {
        // Nothing of the note in the log: only that the file was not written.
        KorvaleLog::line(QStringLiteral("Unable saving data in file %1").arg(mFile.path()));
        return false;
    }
    // A new list: the search prepares it again.
    mSearched = notes;
    return true;
}

void AgentProtectedNotes::lock()
{
    mDeadline.stop();
    mFile.lock();
    // The text read under the key goes with it, and so does what the search made of it; the
    // next password reads it again.
    mSearched.clear();
    if (mSearch)
        mSearch->forgetProtectedNotes();
    emit locked();
}
