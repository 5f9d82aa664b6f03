#pragma once

#include <QVariantList>

class QMimeData;

// What a query of a single space lists: a file on the clipboard, or the clipboard as a whole and
// its text four ways (unchanged, upper case, lower case, capitalised). Main thread.
class ClipboardOffer
{
public:
    ClipboardOffer() = delete;

    // Of the general clipboard.
    static QVariantList build();
    static QVariantList build(const QMimeData *mime);
};
