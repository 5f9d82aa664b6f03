#include "AgentProtectedNotes.h"

#include "KorvaleLog.h"
#include "PasswordSheet.h"

AgentProtectedNotes::AgentProtectedNotes(QVariantList &searchedList, QObject *parent)
    : QObject(parent)
    , mSearched(searchedList)
    , mFile(NotesFile::Kind::ProtectedNotes)
{
    mDeadline.setSingleShot(true);
    mDeadline.setInterval(DeadlineMs);
    connect(&mDeadline, &QTimer::timeout, this, &AgentProtectedNotes::lock);
}

AgentProtectedNotes::~AgentProtectedNotes()
{
    lock();
}

bool AgentProtectedNotes::askPassword(QWidget *window)
{
    lock();
    const std::optional<QString> password = PasswordSheet::ask(window);
    if (!password || password->isEmpty())
        return false;
    QVariantList notes;
    const NotesFile::Status status = mFile.unlock(*password, notes);
    if (status == NotesFile::Status::WrongPassword) {
        PasswordSheet::showWrongPassword(window, true);
        return false;
    }
    if (!mFile.isUnlocked())
        return false;
    if (status == NotesFile::Status::Damaged)
        PasswordSheet::showDamagedNotes(window, mFile.damagedNotes());
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
        KorvaleLog::line(QStringLiteral("The protected notes changed under another password; kept as they were"));
}

void AgentProtectedNotes::lock()
{
    mDeadline.stop();
    mFile.lock();
    // The text read under the key goes with it; the next password reads it again.
    mSearched.clear();
}
