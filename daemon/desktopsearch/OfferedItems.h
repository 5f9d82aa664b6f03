#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// What the agent offers to the desktop's search: which records may leave over the bus, the
// stable id each is known by there, and how the desktop shows one. The records behind the ids
// handed out last are kept, so that an activation opens what was shown.
class OfferedItems
{
public:
    struct Meta {
        QString name;
        QString description;
        QString iconName;
    };

    // Notes, to-dos, reminders, bookmarks, contacts, clipboard entries, files and documents;
    // never an application (the desktops list them), a stock, an answer, nor a protected note.
    static bool isOffered(const QVariantMap &record);
    // The same record gets the same id from one query to the next; the id tells nothing of it.
    static QString idOf(const QVariantMap &record);
    static Meta metaOf(const QVariantMap &record);

    // Remembers the records under their ids, forgetting the oldest past the limit; the ids in
    // order.
    QStringList remember(const QList<QVariantMap> &records);
    std::optional<QVariantMap> record(const QString &id) const;

    static constexpr int kKept = 1000;

private:
    QHash<QString, QVariantMap> mRecords;
    QList<QString> mOrder;
};
