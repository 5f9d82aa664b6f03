#include "SearchCorpus.h"

namespace {
const QStringList kWords = {
    QStringLiteral("café"),  QStringLiteral("Crème"),   QStringLiteral("mail"),
    QStringLiteral("new"),   QStringLiteral("Word"),    QStringLiteral("résumé"),
    QStringLiteral("Ñandú"), QStringLiteral("graphic"), QStringLiteral("photo"),
    QStringLiteral("ph"),    QStringLiteral("Zürich"),  QStringLiteral("notes"),
    QStringLiteral("Élan"),  QStringLiteral("a"),       QStringLiteral("TERMINAL"),
    QStringLiteral("ØRE"),   QStringLiteral("straße"),  QStringLiteral("x"),
};
}

QString SearchCorpus::word()
{
    return kWords.at(below(int(kWords.size())));
}

QString SearchCorpus::words(int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << word();
    return parts.join(QLatin1Char(' '));
}

QVariantMap SearchCorpus::record(int kind)
{
    QVariantMap r;
    if (below(20) != 0)
        r.insert("x", kind);
    if (below(8) != 0)
        r.insert("T", below(15) == 0 ? QString() : words(1 + below(3)));
    if (below(4) == 0)
        r.insert("K", words(1 + below(2)));
    if (below(3) == 0)
        r.insert("t", below(2) ? words(2 + below(6)) : words(2) + "\n" + words(3));
    if (kind == 1 || kind == 2 || below(10) == 0) {
        const QString name = words(1 + below(2)) + (below(2) ? ".txt" : "");
        r.insert("P", "/home/u/" + word() + "/" + name);
        if (below(3) == 0) // titled by its name, as most files are
            r.insert("T", below(4) ? name : name.toUpper());
    }
    if (kind == 3 && below(4) != 0)
        r.insert("U", "https://example.org/" + word() + (below(2) ? ".html" : ""));
    if ((kind == 1 || kind == 2) && below(5) == 0)
        r.insert("A", below(2) ? word().toLower() : word());
    return r;
}

SearchSources SearchCorpus::sources(int n)
{
    SearchSources s;
    auto fill = [this, n](QVariantList &list, int kind) {
        const int count = below(n + 1);
        for (int i = 0; i < count; ++i) {
            if (!list.isEmpty() && below(12) == 0)
                list.append(list.at(below(int(list.size())))); // the same record twice
            else
                list.append(record(kind));
        }
    };
    fill(s.applications, 1);
    fill(s.files, 2);
    fill(s.documents, 2);
    for (int i = 0; i < s.files.size(); i += 5)
        s.documents.append(s.files.at(i)); // in two lists at the same priority
    fill(s.bookmarks, 3);
    fill(s.stocks, 7);
    fill(s.contacts, 4);
    fill(s.notes, 5);
    fill(s.protectedNotes, 6);
    fill(s.clipboard, 9);

    const QList<const QVariantList *> all = {&s.applications, &s.files, &s.documents,
                                             &s.bookmarks,    &s.notes, &s.contacts};
    const int recent = below(12);
    for (int i = 0; i < recent; ++i) {
        const QVariantList *list = all.at(below(int(all.size())));
        if (list->isEmpty() || below(4) == 0) {
            QVariantMap opened = record(2);
            opened.insert("-", 1);
            if (below(2) && !s.files.isEmpty()) {
                // The same file as one of the list, made from a menu entry without a title.
                opened = s.files.at(below(int(s.files.size()))).toMap();
                opened.remove("T");
                opened.remove("K");
                opened.remove("t");
                opened.insert("-", 1);
            }
            s.recentItems.append(opened);
        } else {
            QVariantMap r = list->at(below(int(list->size()))).toMap();
            if (below(3) == 0)
                r.insert("H", 1); // not equal, but the same identity
            s.recentItems.append(r);
        }
    }
    s.priorityForApplications = below(3);
    s.priorityForFiles = below(3);
    s.priorityForBookmarks = below(3);
    s.priorityForAddresses = below(3);
    s.priorityForNotes = below(3);
    return s;
}

QString SearchCorpus::query(const SearchSources &s)
{
    switch (below(10)) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("  ");
    case 2: { // an abbreviation, exactly or with one more character
        QStringList abbreviations;
        for (const QVariantList *list : {&s.applications, &s.files})
            for (const QVariant &r : *list)
                if (r.toMap().contains("A"))
                    abbreviations << r.toMap().value("A").toString();
        if (abbreviations.isEmpty())
            return word();
        const QString a = abbreviations.at(below(int(abbreviations.size())));
        return below(2) ? a : a + "e";
    }
    case 3: // accents dropped and case changed
        return word().toUpper().replace(QStringLiteral("É"), QStringLiteral("E"));
    case 4:
        return word().left(2).toLower() + "  " + word().right(2);
    case 5:
        return word() + " ";
    case 6:
        return QStringLiteral("zz") + word();
    default:
        return words(1 + below(3)).toLower().left(3 + below(8));
    }
}
