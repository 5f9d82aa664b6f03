#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The records the readers of other programs' data make, in the suite's own form, and the two
// orders their lists are kept in.
namespace OtherDataRecords {

inline constexpr int BookmarkKind = 3;
inline constexpr int ContactKind = 4;
inline constexpr int CalendarEventKind = 12;

// addBookMark:url:toList: nothing without a title or an address, nor when a bookmark of the
// same title (exact comparison) is already listed, so the first source read wins.
class BookmarkList
{
public:
    bool add(const QString &title, const QString &address);
    const QVariantList &records() const { return mRecords; }
    QVariantList take() { return std::move(mRecords); }

private:
    QVariantList mRecords;
    QSet<QString> mTitles;
};

QVariantMap eventRecord(const QString &title, const QDateTime &start);

// By "T" in the suite's title order, a missing title first; stable.
void sortByTitle(QVariantList &records);
// By "Date" ascending, then "T" case-insensitively, a missing title first; stable.
void sortByDate(QVariantList &records);

} // namespace OtherDataRecords
