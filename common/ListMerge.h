#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

// The one rule by which a program saves a list file that another program may have saved since it
// was read: a three-way merge of what this program last read (base), what it wants to save (ours)
// and what the file holds now (theirs). Used through ListFile, NotesFile and ClipboardStore by
// every writer of a shared list.
namespace ListMerge {

// What makes a record the same item before and after an edit: a key, or an empty string for a
// record that has no identity of its own. Such records are the same item only as whole values, so
// for them an edit is the removal of one value and the addition of another.
using Identity = std::function<QString(const QVariantMap &record)>;

// Applications and files and folders: the path "P".
QString byPath(const QVariantMap &record);
// Stock-survey entries, which are looked up by their name "T".
QString byTitle(const QVariantMap &record);

// Item by item:
// - unchanged here: as the file has it now (changed, removed or unchanged there);
// - added or changed here: as here, also when it was changed or removed there;
// - removed here: removed, unless it was changed there, when the changed one stays.
// Records without identity (an empty identity, or none at all) count as values: each value is
// kept as many times as the file has it, less what this program removed, plus what it added.
// The result holds the file's order with what was added here at the end; callers sort it.
QVariantList merge(const QVariantList &base, const QVariantList &ours, const QVariantList &theirs,
                   const Identity &identity = {});

// An edit made in a sheet applied to the list as it stands when the user confirms it: `edited`
// takes the place of the record that was `original` (the same item by `identity`, or the same
// value), wherever it now stands; when it is no longer there, `edited` is added, so the edit is not
// lost. Returns the position written.
qsizetype applyEdit(QVariantList &list, const QVariantMap &original, const QVariantMap &edited,
                    const Identity &identity = {});

} // namespace ListMerge
