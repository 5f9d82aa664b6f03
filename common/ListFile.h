#pragma once

#include "ListMerge.h"

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
    // cannot be read is logged and kept aside, and reads as empty.
    QVariantList read();
    // Writes `list`, merged with what another program saved since this one last read or saved;
    // `list` becomes the sorted list written. False (logged, file unchanged) when it could not be
    // written; `list` is then left as it was.
    bool save(QVariantList &list);
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
};
