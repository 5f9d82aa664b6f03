#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

// The plain-text form of notes: one note a line, title, text and keywords split by tabs.
namespace NotesText {

// "T", then "t" with its line ends flattened to ". ", then "K", tab-separated, "\n"-ended.
QString exportLine(const QVariantMap &note);
QByteArray exportNotes(const QVariantList &notes);

// The records a text file gives, of kind 5 or 6: UTF-8 or, failing that, Latin-1; lines at "\n"
// (at "\r" when that gives one line); fields at tabs, further fields joined to the text with
// "\n"; a line with neither title nor text skipped.
QVariantList importNotes(const QByteArray &bytes, bool protectedNotes);

// The notes of a file as importNotes reads them; only a regular file of at most
// BoundedFile::Limit::ImportedNotes bytes is read (a FIFO is refused, not waited on), else
// `failure` says why.
struct ImportedFile {
    QVariantList notes;
    QString failure;
};
ImportedFile importNotesFromFile(const QString &path, bool protectedNotes);

// Literal, case-sensitive replacement in "T", "K" and "t" of one record.
QVariantMap replaced(const QVariantMap &note, const QString &find, const QString &replacement);

// A note's row tooltip: the title, then the keywords and the text, each on its own lines when
// not empty. A text longer than ToolTipTextLimit characters is cut there and ends with "…", so
// a long note does not cover the screen.
inline constexpr int ToolTipTextLimit = 600;
QString toolTip(const QVariantMap &note);

} // namespace NotesText
