#pragma once

#include "ListMerge.h"
#include "SaveFailure.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <functional>

// One list file of the data folder as one program holds it: what it last read or wrote, and the
// save that keeps what another program saved meanwhile (ListMerge). Every program that writes a
// list which another program also writes reads and saves it through one of these.
class ListFile
{
public:
    using Sort = std::function<void(QVariantList &)>;

    // A name in the data folder (DataFileName), or an absolute path.
    ListFile(const QString &fileName, ListMerge::Identity identity, Sort sort = {});

    // Resolved at each use, so a name follows the data folder of the moment.
    QString path() const;

    // The list as the file holds it now, remembered as what this program last read. A file that
    // cannot be read is logged and kept aside, and reads as empty; one that is not a regular file
    // (a FIFO, a folder, a link to a device) is left where it is, reads as empty, and makes every
    // save fail until it is gone.
    QVariantList read();
    // What a program that rereads a changed file calls: read() when this program's last save
    // went through; otherwise its change, still in `list`, is saved again (merged with the file),
    // so rereading never drops it. `list` becomes the file's list, or stays as it was.
    void refresh(QVariantList &list);
    bool hasUnsavedChange() const { return mFailure.failed(); }
    // Under the save lock (SaveLock): reads the file again, merges `list` with what another
    // program saved since this one last read or saved, and writes it; `list` becomes the sorted
    // list written. False (logged, file unchanged, `list` as it was) when it could not be
    // written: lastFailure() says why, and the caller keeps the change to save again.
    bool save(QVariantList &list);
    const SaveFailure &lastFailure() const { return mFailure; }
    // Whether the file is no longer what this program last read or wrote.
    bool changedOnDisk() const;
    // What the last read or save left; the base of the next merge.
    const QVariantList &base() const { return mBase; }

private:
    QString mName;
    ListMerge::Identity mIdentity;
    Sort mSort;
    QVariantList mBase;
    QByteArray mBaseDigest;
    bool mKnown = false;
    SaveFailure mFailure;
};
