#pragma once

#include "ProtectedKey.h"
#include "SaveFailure.h"

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
        Damaged, // unlocked, but some notes could not be read: the file is kept aside at the next
                 // save
        Locked, // protected notes without a password
        NotSaved, // the file could not be written; it is unchanged
        Unconfirmed, // the password that would become the file's was not typed twice; nothing
                     // written
        Unavailable, // the crypto module cannot be loaded: nothing was read, nothing is unlocked
    };

    explicit NotesFile(Kind kind, QString path = {});
    ~NotesFile();
    NotesFile(const NotesFile &) = delete;
    NotesFile &operator=(const NotesFile &) = delete;

    Kind kind() const { return mKind; }
    const QString &path() const { return mPath; }

    // Plain notes; for protected notes while unlocked, a reread with the key held.
    Status read(QVariantList &notes);
    // Derives the key once and reads every note with it. An empty password is refused (Locked);
    // without the crypto module (CryptoModule) nothing is tried (Unavailable).
    // Once one note proved the password right, a note that does not open under it is a damaged
    // note (Damaged), not a wrong password.
    Status unlock(const QString &password, QVariantList &notes);
    // Whether the next save would write the notes under a key that no note of the file proved:
    // a new or empty file, or one of the first format, whose 32-bit code lets other passwords
    // through. Such a save waits until confirmPassword() was given the same password again.
    bool awaitsConfirmation() const { return mAwaitedPassword.has_value(); }
    // The password typed a second time. When it differs, the notes are locked again.
    bool confirmPassword(const QString &again);
    bool isUnlocked() const { return mKey.has_value(); }
    // Whether the protected notes already have a password: their file holds notes (or cannot be
    // read, which may still be notes). Read from disk, without the crypto module.
    bool hasPassword() const;
    // Forgets the key (wiped) and what was read.
    void lock();
    // How many notes the last read could not open; whether it met the first format.
    int damagedNotes() const { return mDamaged; }
    bool readFirstFormat() const { return mFirstFormat; }

    // Writes the notes, merged with whatever another program saved since this one last read or
    // saved; `notes` becomes the merged, sorted list. Protected notes are always written in the
    // second format; a file of the first format, or one with notes that did not open, is first
    // kept aside beside itself.
    Status save(QVariantList &notes);
    // Why the last save returned NotSaved.
    const SaveFailure &lastFailure() const { return mFailure; }
    // Where the last save kept the previous file; empty when it kept nothing.
    const QString &keptAside() const { return mKeptAside; }

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
    // ProtectedKey::passwordTag of the password awaiting confirmation.
    std::optional<QByteArray> mAwaitedPassword;
    QString mKeptAside;
    SaveFailure mFailure;
};
