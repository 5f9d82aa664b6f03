#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The filter of the manager's list sections (applications found, clipboard, notes, to-do items,
// reminders): which records a search text lets through, and the counter beside the list.
class ManagerListFilter
{
public:
    ManagerListFilter() = delete;

    // Application name (file name without extension) to days since it was last used.
    using ActivityMap = QHash<QString, int>;

    // The entries of the applications section's activity menu, in menu order; past All, each is
    // also the level of an application used that recently (None: never recorded).
    enum Activity : int { All = 0, None = 1, VeryLow = 2, Low = 3, Middle = 4, High = 5 };

    // The positions, in list order, of the records that pass: an empty text lets every record
    // through; otherwise every lower-cased word of the text (split at each single space, so
    // empty words match anything) must occur in the record's title, keywords, text, path and
    // address, diacritics ignored.
    static QList<int> search(const QString &text, const QVariantList &records);
    // The same, keeping only the applications whose activity level the choice (a menu index)
    // admits.
    static QList<int> search(const QString &text, const QVariantList &records, int activityChoice,
                             const ActivityMap &activity);

    // None without a recorded use; High under 8 days, Middle under 31, Low under 181, else VeryLow.
    static Activity activityLevel(const QVariantMap &application, const ActivityMap &activity);
    static bool admits(int activityChoice, Activity level);

    // "shown / total" when some records are filtered out, else "total".
    static QString counterText(qsizetype shown, qsizetype total);

    // The record positions behind the selected rows of a filtered table (each row shows the
    // record at shown[row]), ascending and each once; rows outside the table are ignored.
    static QList<int> recordPositions(const QList<int> &shown, const QList<int> &selectedRows);
};
