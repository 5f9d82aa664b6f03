#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class BrowserItem;

// Renaming the selected rows after a naming scheme: "%D" the modification date (yymmdd), "%T"
// its time (HH_MM_SS), "%X" the running number at a fixed digit count, "%N" the current name
// without its extension; the extension is kept on request. Main thread.
class BatchRename
{
public:
    BatchRename() = delete;

    struct Scheme {
        QString text;
        int firstNumber = 1;
        int digits = 1;
        bool preserveExtension = true;
    };

    struct Failure {
        QString path;
        QString reason;
    };

    static constexpr int MaxDigits = 10;
    static constexpr int MaxSuffix = 999;

    // 0 or less counts as 1, over 10 as 10.
    static int digitCount(int digits);
    // The digit count raised, never lowered, so that the selection's numbers line up.
    static int widenedDigits(int digits, int selectedRows);
    // The number's last `digits` digits, zero-padded: higher digits are cut, never widened.
    static QString numberText(int number, int digits);
    // "archive.tar.gz" splits into "archive.tar" and "gz"; a leading dot starts no extension.
    static QString baseName(const QString &fileName);
    static QString extension(const QString &fileName);

    // The new file name of the item at `path` for one number; `modified` absent when the item
    // has none.
    static QString newName(const QString &path, const Scheme &scheme, int number,
                           const std::optional<QDateTime> &modified);
    // The same, reading the item's modification date.
    static QString newNameForPath(const QString &path, const Scheme &scheme, int number);

    // Renames each item in order with the numbers from the scheme's first one (every item uses
    // a number, renamed or not). Nothing is ever replaced: a name that is taken, also by another
    // item of the run that has not had its turn yet, becomes "name#1.ext", "name#2.ext"... up to
    // #999. Nodes take their final names. A failure does not stop the run; the failures are
    // returned in order.
    static QList<Failure> run(const QList<BrowserItem *> &items, const Scheme &scheme);

    // Why a new name cannot be used, or nothing: empty, ".", "..", or a "/" inside.
    static std::optional<QString> problemWithName(const QString &name);
};
