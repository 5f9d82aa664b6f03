// korvale-search: runs the agent's search over the user's stored lists and prints the results.

#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "FoundItem.h"
#include "ItemRecord.h"
#include "SearchPass.h"
#include "SharedPreferences.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

void printError(const QString &text)
{
    const QByteArray bytes = QStringLiteral("korvale-search: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int usage()
{
    std::fputs("Usage: korvale-search [--type N] [--json] QUERY\n"
               "  --type N   0 all (default), 1 applications, 2 files, 3 bookmarks,\n"
               "             4 contacts, 5 notes, 9 clipboard history\n"
               "  --json     print the results as a JSON array\n"
               "Prints one result per line: kind, title, path or address, separated by tabs.\n",
               stderr);
    return 2;
}

// Read without the agent's repair step: a damaged file is reported and left where it is, since
// a script looking something up must not move the user's data aside.
QVariantList readList(const QString &fileName, bool &failed)
{
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(fileName);
    const ArchiveFile::Content content = ArchiveFile::readAny(path);
    if (!content.error.isEmpty()) {
        printError(QStringLiteral("cannot read %1 (%2); searching the other lists")
                       .arg(path, content.error));
        failed = true;
        return {};
    }
    if (content.value.isValid() && content.value.typeId() != QMetaType::QVariantList) {
        printError(QStringLiteral("%1 does not hold a list; searching the other lists").arg(path));
        failed = true;
        return {};
    }
    return content.value.toList();
}

SearchSources storedSources(bool &failed)
{
    SharedPreferences &preferences = SharedPreferences::standard();
    SearchSources s;
    s.applications = readList(DataFileName::Applications, failed);
    s.files = preferences.listValue(QStringLiteral("FilesList")).value_or(QVariantList());
    s.documents = readList(DataFileName::Documents, failed);
    s.stocks = readList(DataFileName::StocksSurvey, failed);
    s.contacts = preferences.listValue(QStringLiteral("AddressBookItems")).value_or(QVariantList());
    s.notes = readList(DataFileName::Notes, failed);
    s.clipboard = readList(DataFileName::Clipboard, failed);
    s.recentItems =
        preferences.listValue(QStringLiteral("LastItemsLaunched")).value_or(QVariantList());
    auto priority = [&preferences](const char *key) {
        return preferences.intValue(QString::fromLatin1(key)).value_or(0);
    };
    s.priorityForApplications = priority("PriorityForApplications");
    s.priorityForFiles = priority("PriorityForFiles");
    s.priorityForBookmarks = priority("PriorityForBookmarks");
    s.priorityForAddresses = priority("PriorityForAddresses");
    s.priorityForNotes = priority("PriorityForNotes");
    return s;
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString location(const QVariantMap &record)
{
    const QString path = record.value(ItemRecord::KeyPath).toString();
    return path.isEmpty() ? record.value(ItemRecord::KeyAddress).toString() : path;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    int type = 0;
    bool json = false;
    QStringList queryParts;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument == QLatin1String("--type") && i + 1 < arguments.size()) {
            bool ok = false;
            type = arguments.at(++i).toInt(&ok);
            const bool known = ok && ((type >= 0 && type <= 5) || type == 9);
            if (type == 6 && ok) {
                printError(QStringLiteral("the protected notes are searched in the agent only, "
                                          "after the password"));
                return 2;
            }
            if (!known)
                return usage();
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return usage();
        } else if (argument == QLatin1String("--")) {
            queryParts += arguments.mid(i + 1);
            break;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usage();
        } else {
            queryParts << argument;
        }
    }
    const QString query = queryParts.join(QLatin1Char(' '));

    bool failed = false;
    const SearchSources sources = storedSources(failed);
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    // A one-space query offers the clipboard, which only the agent's window can reach.
    const SearchPass::Result result = SearchPass(cache).run(sources, type, query, {}, stop);

    QByteArray out;
    if (json) {
        QJsonArray array;
        for (const FoundItem &item : result.items) {
            QJsonObject object;
            object.insert(QStringLiteral("x"), ItemRecord::kind(item.record));
            for (const QString &key : {ItemRecord::KeyTitle, ItemRecord::KeyPath,
                                       ItemRecord::KeyAddress, ItemRecord::KeyText}) {
                if (item.record.contains(key))
                    object.insert(key, item.record.value(key).toString());
            }
            object.insert(QStringLiteral("a"), item.abbreviationHit ? 1 : 0);
            object.insert(QStringLiteral("B"), item.beginsWith ? 1 : 0);
            object.insert(QStringLiteral("p"), item.priority);
            object.insert(QStringLiteral("L"), item.recentRank);
            array.append(object);
        }
        out = QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const FoundItem &item : result.items) {
            out += QStringLiteral("%1\t%2\t%3\n")
                       .arg(ItemRecord::kind(item.record))
                       .arg(oneLine(item.record.value(ItemRecord::KeyTitle).toString()),
                            oneLine(location(item.record)))
                       .toUtf8();
        }
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return failed ? 1 : 0;
}
