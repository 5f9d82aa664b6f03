#pragma once

#include "BatchRename.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

class BrowserItem;

// Changing the modification dates of the selected rows: all to one date, or all shifted by the
// amount the reference item moves; optionally through everything inside the selected folders,
// as the tree lists it (its invisible-entry and package rules decide what is reached). Only the
// modification date changes, of the items themselves (links are not followed). Main thread.
class DateChange
{
public:
    DateChange() = delete;

    using Failure = BatchRename::Failure;

    // True when stored, and when the item has no attributes (nothing to do); false otherwise,
    // with the system's reason in `error`.
    static bool modifyObjectDate(const QString &path, const QDateTime &date, bool absolute,
                                 double variation, QString *error = nullptr);
    // Every descendant, depth first, each before its content; lists folders never listed.
    static void modifyDateToChildrenOf(BrowserItem *node, const QDateTime &date, bool absolute,
                                       double variation, QList<Failure> &failures,
                                       QSet<QString> &done);
    // The whole run; an item reached twice (selected and inside a selected folder) changes
    // once. A failure does not stop the run.
    static QList<Failure> run(const QList<BrowserItem *> &items, const QDateTime &chosen,
                              bool absolute, double variation, bool insideFolders);

    // The item's own modification date; invalid when it has none.
    static QDateTime modificationDate(const QString &path);
};
