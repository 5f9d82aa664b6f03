#pragma once

#include "SearchText.h"

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// What a pass needs of one record, worked out once when its list is loaded or replaced so that
// a keystroke only runs byte searches and compares plain fields.
struct PreparedRecord {
    QVariantMap record;
    SearchText text; // the folded agent search text
    std::size_t textHash = 0;
    QString abbreviation; // "A"
    std::size_t identityHash = 0; // of the identity text (title, keywords, text and path)
    // The case-folded title in UTF-8, whose byte order is the code-point order titles sort by.
    std::string sortTitle;
    quint64 sortTitlePrefix = 0; // its first 8 bytes, big-endian, to decide most comparisons
    int kind = 0;
    bool hasAbbreviation = false;
    bool hasSortTitle = false;
};

class PreparedList
{
public:
    static std::shared_ptr<const PreparedList> prepare(const QVariantList &list, int threads = 2);
    static PreparedRecord prepareRecord(const QVariantMap &record);
    // The identity text; withPathElement gives a record without title, keywords and text the
    // last element of its path instead (how a menu-opened record names itself).
    static QString identityText(const QVariantMap &record, bool withPathElement = false);
    // The title the result list is ordered by: "T", else the path's file name without extension.
    static std::optional<QString> sortTitle(const QVariantMap &record);
    static std::string foldedTitle(const QString &title);
    static std::size_t identityHash(const QString &identity);

    std::vector<PreparedRecord> records;
    // An estimate of the heap the prepared fields take (the records themselves are shared).
    std::size_t memoryBytes() const;
};

// The prepared form of each source list, kept while the list is the same object. A copy of the
// list is held so its buffer cannot be freed and reused by a different list at the same address.
class PreparedListCache
{
public:
    std::shared_ptr<const PreparedList> get(int slot, const QVariantList &list, int threads = 2);
    std::size_t memoryBytes() const;
    void clear();
    // Forgets one slot's list and its prepared form.
    void clear(int slot);

private:
    struct Entry {
        QVariantList list;
        std::shared_ptr<const PreparedList> prepared;
    };
    static constexpr int kSlots = 16;
    mutable std::mutex mMutex;
    std::array<Entry, kSlots> mEntries;
};
