#pragma once

#include "NotesFile.h"

#include <QObject>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

class QWidget;
class SearchController;

// The agent's side of the protected notes: the password sheet when the access window's filter
// turns to them, the key held until 300 s after the latest such switch, then wiped with the
// notes read under it and the search's prepared copy of them. The notes go into the list the
// search reads.
class AgentProtectedNotes : public QObject
{
    Q_OBJECT
public:
    static constexpr int DeadlineMs = 300 * 1000;

    // deadlineMs: shorter only in tests.
    AgentProtectedNotes(QVariantList &searchedList, SearchController *search,
                        QObject *parent = nullptr, int deadlineMs = DeadlineMs);
    ~AgentProtectedNotes() override;

    // The asker of the protected-notes filter: true when the notes are unlocked afterwards.
    bool askPassword(QWidget *window);
    // Another switch to the filter: the key stays for another 300 s.
    void extendDeadline();
    // Reread with the key held, after another program saved them.
    void reload();
    void lock();
    bool isUnlocked() const { return mFile.isUnlocked(); }
    // Why the last saveEdit() did not reach the disk.
    const SaveFailure &lastFailure() const { return mFile.lastFailure(); }
    // The notes read under the key; empty while locked.
    const QVariantList &notes() const { return mSearched; }
    // Writes one note's edit (`original` becomes `edited`), merged with what another program
    // saved since; false, with nothing written, while locked or when the file cannot be written.
    bool saveEdit(const QVariantMap &original, const QVariantMap &edited);

signals:
    // The key and every copy of the notes' text the agent held are gone.
    void locked();

private:
    QVariantList &mSearched;
    SearchController *mSearch;
    NotesFile mFile;
    QTimer mDeadline;
};
