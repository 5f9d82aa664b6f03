#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The clipboard entries ("Clipboard.krvdata"): the rules every program that changes them follows,
// so the manager and korvale-clipboard keep the list the same way.
class ClipboardList
{
public:
    ClipboardList() = delete;

    // {"x": 9, "T": title, "cb": packed}: nothing else is carried over from an older entry.
    static QVariantMap makeEntry(const QString &title, const QByteArray &packed);

    // By "T", ignoring case; an entry without "T" first. Stable, so equal titles keep their order.
    static void sortList(QVariantList &list);

    // Appends and sorts; nothing without contents (an empty blob).
    static bool add(QVariantList &list, const QString &title, const QByteArray &packed);

    // The entry that was `original` becomes a new one: found by value, since another program may
    // have changed the list meanwhile; when it is gone the edit is added rather than lost.
    static bool replace(QVariantList &list, const QVariantMap &original, const QString &title,
                        const QByteArray &packed);

    // Removes one occurrence of each record (two identical entries are interchangeable, so
    // removing "one of them" is removing the row the user chose). Returns how many went.
    static int removeRecords(QVariantList &list, const QVariantList &records);

    // The records behind the given positions, for removeRecords.
    static QVariantList recordsAt(const QVariantList &list, const QList<int> &positions);

    // The text of unpacked contents: the preferred type's text (a web page's as plain text),
    // else the plain text. Empty when there is none.
    static QString plainText(const QVariantMap &contents);
    // The same for an entry, on one line: line breaks and tabs as spaces.
    static QString textOf(const QVariantMap &entry);
    static QString oneLine(QString text);
};
