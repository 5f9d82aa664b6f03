#pragma once

#include "ProtectedKey.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <optional>

// "Notes.krvdata" or "ProtectedNotes.krvdata" as one program holds it: what it read, the key of
// the protected notes while they are unlocked, and the save that keeps what another program
// saved meanwhile (NoteLists::merge). The agent, the manager and korvale-notes all go through it.
class NotesFile
{
public:
    enum class Kind { Notes, ProtectedNotes };
    enum class Status {
        Ok,
        WrongPassword, // nothing was read, nothing is unlocked
        Damaged,       // unlocked, but some notes could not be read: the file is kept aside at the next save
        Locked,        // protected notes without a password
        NotSaved,      // the file could not be written; it is unchanged
    };

    explicit NotesFile(Kind kind, QString path = {});
    ~NotesFile();
    NotesFile(const NotesFile &) = delete;
    NotesFile &operator=(const NotesFile &) = delete;

    Kind kind() const { return mKind; }
    const QString &path() const { return mPath; }

    // Plain notes; for protected notes while unlocked, a reread with the key held.
    Status read(QVariantList &notes);
    // Derives the key once and reads every note with it. An empty password is refused (Locked).
    Status unlock(const QString &password, QVariantList &notes);
    bool isUnlocked() const { return mKey.has_value(); }
    // Forgets the key (wiped) and what was read.
    void lock();
    // How many notes the last read could not open; whether it met the first format.
    int damagedNotes() const { return mDamaged; }
    bool readFirstFormat() const { return mFirstFormat; }

    // Writes the notes, merged with whatever another program saved since this one last read or
    // saved; `notes` becomes the merged, sorted list. Protected notes are always written in the
    // second format.
    Status save(QVariantList &notes);

private:
    QByteArray encode(const QVariantList &notes, bool &ok) const;
    // The notes of the file's bytes under the key held; nothing when they cannot all be opened.
    std::optional<QVariantList> decodeWithKey(const QByteArray &bytes) const;

    Kind mKind;
    QString mPath;
    std::optional<ProtectedKey> mKey;
    QVariantList mBase;
    QByteArray mBaseDigest;
    int mDamaged = 0;
    bool mFirstFormat = false;
    bool mKeepAsideBeforeSave = false;
};
