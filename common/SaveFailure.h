#pragma once

#include <QString>

// Why a save did not reach the disk, in words the user can act on. Every writer keeps the last
// one, so the program that asked for the save can say it where the user is.
struct SaveFailure {
    enum class Reason {
        None,
        DiskFull, // ENOSPC, EDQUOT
        ReadOnly, // EROFS
        Permission, // EACCES, EPERM
        Busy, // another program held the save lock for the whole wait
        NotAFile, // a folder, FIFO or device stands where the file should be
        Other,
    };

    Reason reason = Reason::None;
    QString detail; // the system's words, or what stands in the file's place: for the log

    bool failed() const { return reason != Reason::None; }

    static SaveFailure fromErrno(int errorNumber, const QString &detail = {});
    static SaveFailure notAFile(const QString &what);

    // One sentence, in the user's language: "The disk is full."
    QString reasonText() const;
    // The alert's title and text for a list, named by its data file ("ToDo.krvdata") or by a
    // name the caller gives ("Preferences").
    QString title(const QString &fileName) const;
    QString text() const;
};

// The user's name of a data file's list ("To-Do" for "ToDo.krvdata"), in their language.
QString listDisplayName(const QString &fileName);
