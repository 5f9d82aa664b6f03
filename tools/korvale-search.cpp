// korvale-search: runs the agent's search and prints the results. The running agent is asked over
// the session bus; without it, the tool reads the user's stored lists and runs the same pass.

#include "ArchiveFile.h"
#include "BookmarkReader.h"
#include "CommonKorvaleClass.h"
#include "SearchPass.h"
#include "SearchResultText.h"
#include "SharedPreferences.h"
#include "ToolMessages.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

using ToolMessages::localized;

void printError(const QString &text)
{
    ToolMessages::printError("korvale-search", text);
}

int usage()
{
    return ToolMessages::printUsage(localized("ToolSearchUsage"));
}

// Read without the agent's repair step: a damaged file is reported and left where it is, since
// a script looking something up must not move the user's data aside.
QVariantList readList(const QString &fileName, bool &failed)
{
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(fileName);
    const ArchiveFile::Content content = ArchiveFile::readAny(path);
    if (!content.error.isEmpty()) {
        printError(localized("ToolSearchUnreadable").arg(path, content.error));
        failed = true;
        return {};
    }
    if (content.value.isValid() && content.value.typeId() != QMetaType::QVariantList) {
        printError(localized("ToolSearchNotAList").arg(path));
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
    // The agent keeps bookmarks in memory only; without it they are read from the browsers.
    if (preferences.intValue(QStringLiteral("OtherDataBookmarks")).value_or(0) != 0)
        s.bookmarks = BookmarkReader::readAll();
    // The agent's last contacts; an agent that has not run since they left the preferences
    // still has them there.
    s.contacts = readList(DataFileName::AddressBookItems, failed);
    if (s.contacts.isEmpty())
        s.contacts =
            preferences.listValue(QStringLiteral("AddressBookItems")).value_or(QVariantList());
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

// The agent's bus name is asked only where a session bus is known, so that the tool never makes
// libdbus start one (X11 autolaunch) just to find nobody there.
bool sessionBusKnown()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

int agentTimeoutMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("KORVALE_SEARCH_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 3000;
}

// The agent holds the lists prepared, so asking it spares reading and preparing them here.
// Empty when there is no agent or it did not answer; the stored files are read then.
std::optional<QByteArray> askAgent(const QString &query, int type, bool json)
{
    if (!sessionBusKnown())
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/Search"),
        QStringLiteral("org.korvale.Search"), QStringLiteral("Search"));
    call.setAutoStartService(false); // a look-up does not start the agent
    call << query << type << (json ? QStringLiteral("json") : QStringLiteral("lines"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, agentTimeoutMs());
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1
        && reply.arguments().first().typeId() == QMetaType::QByteArray)
        return reply.arguments().first().toByteArray();
    // No agent, or one without the search on the bus: the files, as without an agent.
    static const QStringList absent = {
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod")};
    if (!absent.contains(reply.errorName()))
        printError(
            localized("ToolSearchAgentSilent")
                .arg(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage()));
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ToolMessages::install();
    QStringList arguments = app.arguments().mid(1);
    int type = 0;
    bool json = false;
    bool filesOnly = false;
    QStringList queryParts;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument == QLatin1String("--files")) {
            filesOnly = true;
        } else if (argument == QLatin1String("--type") && i + 1 < arguments.size()) {
            bool ok = false;
            type = arguments.at(++i).toInt(&ok);
            const bool known = ok && ((type >= 0 && type <= 5) || type == 9);
            if (type == 6 && ok) {
                printError(localized("ToolSearchProtected"));
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

    const auto write = [](const QByteArray &out) {
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    };
    if (!filesOnly) {
        if (const std::optional<QByteArray> answer = askAgent(query, type, json)) {
            write(*answer);
            return 0;
        }
    }

    bool failed = false;
    const SearchSources sources = storedSources(failed);
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    // A one-space query offers the clipboard, which only the agent's window can reach.
    const SearchPass::Result result = SearchPass(cache).run(sources, type, query, {}, stop);
    write(json ? SearchResultText::json(result.items) : SearchResultText::lines(result.items));
    return failed ? 1 : 0;
}
