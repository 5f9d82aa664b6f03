#include "ReferenceSearch.h"

#include "SearchTextFields.h"
#include "TextMatching.h"

#include <algorithm>
#include <optional>

namespace {

struct ListToSearch {
    QVariantList records;
    int priority;
    bool menuOpened;
};

QList<ListToSearch> listsFor(const SearchSources &s, int type)
{
    QVariantList menuOpened;
    for (const QVariant &item : s.recentItems)
        if (item.toMap().contains(QStringLiteral("-")))
            menuOpened.append(item);
    const ListToSearch apps{s.applications, s.priorityForApplications, false};
    const ListToSearch files{s.files, s.priorityForFiles, false};
    const ListToSearch documents{s.documents, s.priorityForFiles, false};
    const ListToSearch bookmarks{s.bookmarks, s.priorityForBookmarks, false};
    const ListToSearch stocks{s.stocks, s.priorityForBookmarks, false};
    const ListToSearch contacts{s.contacts, s.priorityForAddresses, false};
    const ListToSearch notes{s.notes, s.priorityForNotes, false};
    const ListToSearch clipboard{s.clipboard, 0, false};
    const ListToSearch opened{menuOpened, 0, true};
    const ListToSearch protectedNotes{s.protectedNotes, s.priorityForNotes, false};
    switch (type) {
    case 0:
        return {apps, files, documents, bookmarks, stocks, contacts, notes, clipboard, opened};
    case 1:
        return {apps};
    case 2:
        return {files, documents, opened};
    case 3:
        return {bookmarks, stocks};
    case 4:
        return {contacts};
    case 5:
        return {notes};
    case 6:
        return {protectedNotes};
    case 9:
        return {clipboard};
    }
    return {};
}

QString identityText(const QVariantMap &record, bool pathElementRule)
{
    QString text = record.value("T").toString();
    for (const QString &key : {QStringLiteral("K"), QStringLiteral("t"), QStringLiteral("P")}) {
        if (!record.contains(key) || record.value(key).toString().isEmpty())
            continue;
        if (key == QLatin1String("P") && pathElementRule && text.isEmpty())
            text = SearchTextFields::lastPathElement(record.value(key).toString());
        text += " " + record.value(key).toString();
    }
    return text;
}

std::optional<QString> title(const QVariantMap &item)
{
    if (item.contains("T"))
        return item.value("T").toString();
    if (item.contains("P"))
        return SearchTextFields::withoutExtension(
            SearchTextFields::lastPathElement(item.value("P").toString()));
    return std::nullopt;
}

} // namespace

QVariantList ReferenceSearch::run(const SearchSources &sources, int typeForSearch,
                                  const QString &query)
{
    const std::optional<QueryWords> words = TextMatching::queryWords(query);
    QVariantList result;
    for (const ListToSearch &list : listsFor(sources, typeForSearch)) {
        for (const QVariant &value : list.records) {
            const QVariantMap record = value.toMap();
            int a = 0;
            int b = 0;
            if (words && record.contains("A") && record.value("A").toString() == query) {
                a = 1;
            } else {
                const MatchResult match =
                    TextMatching::match(words, SearchTextFields::forAgentSearch(record));
                if (!match.matched)
                    continue;
                b = words && match.beginsWith ? 1 : 0;
            }
            if (list.menuOpened) {
                const QString identity = identityText(record, true);
                bool seen = false;
                for (const QVariant &found : result)
                    seen = seen || identityText(found.toMap(), false) == identity;
                if (seen)
                    continue;
            }
            QVariantMap found = record;
            found.insert("a", a);
            found.insert("B", b);
            found.insert("p", list.priority);
            int rank = 10000;
            if (words) {
                for (qsizetype i = 0; i < sources.recentItems.size(); ++i) {
                    const QVariantMap recent = sources.recentItems.at(i).toMap();
                    if (recent == record
                        || identityText(recent, false) == identityText(record, false)) {
                        rank = int(i);
                        break;
                    }
                }
            }
            found.insert("L", rank);
            if (!result.contains(QVariant(found)))
                result.append(found);
        }
    }
    std::stable_sort(
        result.begin(), result.end(), [&words](const QVariant &va, const QVariant &vb) {
            const QVariantMap a = va.toMap();
            const QVariantMap b = vb.toMap();
            auto n = [](const QVariantMap &m, const char *key) { return m.value(key).toInt(); };
            if (words) {
                if (n(a, "a") != n(b, "a"))
                    return n(a, "a") > n(b, "a");
                if (n(a, "p") != n(b, "p"))
                    return n(a, "p") > n(b, "p");
                if (n(a, "B") != n(b, "B"))
                    return n(a, "B") > n(b, "B");
                if (n(a, "L") != n(b, "L"))
                    return n(a, "L") < n(b, "L");
                if (n(a, "x") != n(b, "x"))
                    return n(a, "x") < n(b, "x");
            } else if (n(a, "p") != n(b, "p")) {
                return n(a, "p") > n(b, "p");
            }
            return TextMatching::compareTitles(title(a), title(b)) < 0;
        });
    return result;
}
