#include "SearchController.h"
#include "ReferenceSearch.h"
#include "SearchBus.h"
#include "SearchFilter.h"
#include "SearchResultText.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <mutex>

#include <gtest/gtest.h>

namespace {

QVariantMap rec(int kind, const QString &title)
{
    return {{"x", kind}, {"T", title}};
}

SearchSources twelveRecords()
{
    SearchSources s;
    for (const char *t : {"Mail", "Maps", "Music", "Calculator"})
        s.applications.append(rec(1, t));
    for (const char *t : {"mail merge.txt", "budget.ods", "photo.png", "notes.md"})
        s.files.append(rec(2, t));
    for (const char *t : {"groceries", "ideas", "travel", "books"})
        s.notes.append(rec(5, t));
    return s;
}

bool waitIdle(SearchController &c)
{
    // Idle twice in a row, a retry period apart: no retry is left pending. Preparing 120,000
    // records takes seconds in a sanitized build on a busy machine.
    return QTest::qWaitFor(
        [&c] {
            if (c.isSearchRunning())
                return false;
            QTest::qWait(3 * SearchController::kRetryMs);
            return !c.isSearchRunning();
        },
        20000);
}

} // namespace

TEST(SearchController, CounterLineShowsShownAndTotal)
{
    SearchController c([] { return twelveRecords(); });
    c.searchFieldModified("");
    ASSERT_TRUE(waitIdle(c));
    EXPECT_EQ(c.selectionInformation(), "12");
    c.searchFieldModified("ma");
    ASSERT_TRUE(waitIdle(c));
    EXPECT_EQ(c.displayedList().size(), 3); // Mail, Maps, mail merge
    EXPECT_EQ(c.selectionInformation(), "3 / 12");
}

TEST(SearchController, ControlCharacterAtTheEndStartsNoSearch)
{
    SearchController c([] { return twelveRecords(); });
    c.searchFieldModified("mail");
    ASSERT_TRUE(waitIdle(c));
    QSignalSpy running(&c, &SearchController::runningChanged);
    QSignalSpy requested(&c, &SearchController::searchRequested);
    c.controlTextDidChange("mail\t");
    EXPECT_FALSE(c.isSearchRunning());
    QTest::qWait(20);
    EXPECT_EQ(running.count(), 0);
    EXPECT_EQ(requested.count(), 1); // the idle counter is still reset
    EXPECT_EQ(c.displayedQuery(), "mail");
}

TEST(SearchController, OvertakenPassesPublishOnlyTheLatestQuery)
{
    SearchSources big;
    for (int i = 0; i < 120000; ++i)
        big.files.append(rec(2, QString("document %1 café").arg(i)));
    SearchController c([&big] { return big; });
    c.setRoomKeptFor(1000);
    c.searchFieldModified(""); // prepares the list once
    ASSERT_TRUE(waitIdle(c));
    // Every record found, on both threads: the room the next passes reuse is at its largest.
    c.searchFieldModified("document");
    ASSERT_TRUE(waitIdle(c));
    ASSERT_EQ(c.displayedList().size(), 120000);
    EXPECT_GT(c.passRoomBytes(), 120000u * 48);

    QStringList published;
    QObject::connect(&c, &SearchController::displayedListUpdated,
                     [&] { published << c.displayedQuery(); });
    for (const char *q : {"d", "do", "doc", "docu", "1", "12"})
        c.searchFieldModified(q);
    ASSERT_TRUE(waitIdle(c));
    EXPECT_EQ(published, QStringList({"12"}));
    QVariantList shown;
    for (const FoundItem &item : c.displayedList())
        shown.append(item.toMap());
    EXPECT_EQ(shown, ReferenceSearch::run(big, 0, "12"));
    // Nothing typed for a while: the room is let go.
    EXPECT_TRUE(QTest::qWaitFor([&c] { return c.passRoomBytes() == 0; }, 10000));
}

TEST(SearchController, ProtectedFilterKeepsThePreviousOneWhenThePasswordIsRefused)
{
    SearchController c([] { return SearchSources(); });
    QSignalSpy changed(&c, &SearchController::typeForSearchChanged);
    EXPECT_TRUE(c.setTypeForSearch(2));
    EXPECT_FALSE(c.setTypeForSearch(6)); // the default asker refuses
    EXPECT_EQ(c.typeForSearch(), 2);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.last().at(0).toInt(), 2); // the buttons go back to the filter in force

    qint64 now = 0;
    int asked = 0;
    bool accept = true;
    c.setClock([&now] { return now; });
    c.setProtectedPasswordAsker([&] {
        ++asked;
        return accept;
    });
    EXPECT_TRUE(c.setTypeForSearch(6));
    EXPECT_EQ(asked, 1);
    c.setTypeForSearch(0);
    now = 200 * 1000;
    EXPECT_TRUE(c.setTypeForSearch(6)); // within the deadline: not asked again
    EXPECT_EQ(asked, 1);
    c.setTypeForSearch(1);
    now += 301 * 1000; // the deadline restarted at 200 s
    accept = false;
    EXPECT_FALSE(c.setTypeForSearch(6));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(c.typeForSearch(), 1);
}

TEST(SearchController, GroupChangedSearchesTheLastTextWithTheNewFilter)
{
    SearchController c([] { return twelveRecords(); });
    c.searchFieldModified("m");
    ASSERT_TRUE(waitIdle(c));
    EXPECT_EQ(c.selectionInformation(), "5 / 12"); // "notes.md" too
    c.groupChanged(1);
    ASSERT_TRUE(waitIdle(c));
    EXPECT_EQ(c.selectionInformation(), "3 / 4");
    c.menuGroupChanged(9);
    ASSERT_TRUE(waitIdle(c));
    EXPECT_EQ(c.selectionInformation(), "0");
}

TEST(SearchController, OneSpaceShowsTheOfferFromTheProvider)
{
    ASSERT_NE(qobject_cast<QGuiApplication *>(QCoreApplication::instance()), nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("hello world"));
    SearchController c([] { return twelveRecords(); });
    c.searchFieldModified(" ");
    ASSERT_TRUE(waitIdle(c));
    // The default provider offers the general clipboard: whole, then its text four ways.
    ASSERT_EQ(c.displayedList().size(), 5);
    for (const FoundItem &item : c.displayedList())
        EXPECT_EQ(item.record().value("x").toInt(), 9);
    c.setClipboardOfferProvider([] {
        return QVariantList{rec(9, "Clipboard"), rec(9, "Plain text")};
    });
    c.searchFieldModified(" ");
    ASSERT_TRUE(waitIdle(c));
    ASSERT_EQ(c.displayedList().size(), 2);
    EXPECT_EQ(c.displayedList().at(1).record().value("T").toString(), "Plain text");
    EXPECT_EQ(c.totalItems(), 0);
}

// What korvale-search asks over the bus: the same pass beside the window's, which it neither
// replaces nor stops, and never over the protected notes.
TEST(SearchController, CallerPassesLeaveTheWindowAloneAndSkipProtectedNotes)
{
    SearchController c([] {
        SearchSources s = twelveRecords();
        s.protectedNotes.append(rec(6, "mail passwords"));
        return s;
    });
    c.searchFieldModified("ma");
    ASSERT_TRUE(waitIdle(c));
    ASSERT_EQ(c.displayedList().size(), 3);

    std::mutex mutex;
    QMap<QString, QStringList> answers; // query -> titles, in answer order
    const auto ask = [&](int type, const QString &query) {
        c.searchForCaller(type, query, [&mutex, &answers, query](const SearchPass::Result &r) {
            QStringList titles;
            for (const FoundItem &item : r.items)
                titles << item.record().value("T").toString();
            std::lock_guard lock(mutex);
            answers.insert(query, titles);
        });
    };
    ask(0, "i");
    ask(6, "mail");
    // Typing while the callers wait: the window's passes and theirs do not cancel each other.
    c.searchFieldModified("b");
    ask(0, " ");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        std::lock_guard lock(mutex);
        return answers.size() == 3;
    }));
    ASSERT_TRUE(waitIdle(c));
    const SearchSources sources = twelveRecords();
    QStringList expected;
    for (const QVariant &record : ReferenceSearch::run(sources, 0, "i"))
        expected << record.toMap().value("T").toString();
    EXPECT_EQ(answers.value("i"), expected);
    EXPECT_EQ(answers.value("mail"), QStringList());
    EXPECT_EQ(answers.value(" "), QStringList()); // the clipboard offer is the window's
    EXPECT_EQ(c.displayedQuery(), "b");
    EXPECT_EQ(c.displayedList().size(), 2); // budget.ods, books
}

TEST(SearchFilter, MenuAndButtons)
{
    QList<int> values;
    QStringList keys;
    for (const SearchFilterEntry &e : SearchFilter::menuEntries()) {
        values << e.value;
        keys << e.key;
    }
    EXPECT_EQ(values, QList<int>({0, 1, 2, 3, 4, 5, 6, 9}));
    EXPECT_EQ(keys, QStringList({"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(SearchFilter::menuEntries().at(6).titleKey, "PopupTypeProtectedNotes");
    for (const int tag : {1, 2, 3, 4, 5, 9}) {
        EXPECT_TRUE(SearchFilter::includes(0, tag));
        EXPECT_TRUE(SearchFilter::includes(tag, tag));
        EXPECT_FALSE(SearchFilter::includes(6, tag));
    }
    EXPECT_FALSE(SearchFilter::includes(0, 6));
    EXPECT_TRUE(SearchFilter::includes(6, 6));
    EXPECT_FALSE(SearchFilter::includes(1, 2));
}

// The bus side in this process: the reply is sent from the worker once the pass ran, and is
// exactly what korvale-search prints; the protected notes are refused.
TEST(SearchBus, AnswersWithThePrintedResultsFromTheWorker)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus: run under scripts/with-session.sh";
    SearchController c([] { return twelveRecords(); });
    SearchBus bus(c);
    ASSERT_TRUE(bus.publish());
    QDBusConnection caller = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "caller");
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus("caller"); });
    const auto ask = [&](const QString &query, int type, const QString &form) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QDBusConnection::sessionBus().baseService(), SearchBus::ObjectPath,
            SearchBus::Interface, SearchBus::Method);
        call << query << type << form;
        QDBusPendingCallWatcher watcher(caller.asyncCall(call, 5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.isFinished(); }, 6000));
        return watcher.reply();
    };
    SearchPass::Result direct;
    PreparedListCache cache;
    direct = SearchPass(cache).run(twelveRecords(), 0, "ma", {}, std::atomic<bool>(false));
    const QDBusMessage lines = ask("ma", 0, "lines");
    ASSERT_EQ(lines.type(), QDBusMessage::ReplyMessage) << lines.errorMessage().toStdString();
    EXPECT_EQ(lines.arguments().value(0).toByteArray(), SearchResultText::lines(direct.items));
    EXPECT_EQ(lines.arguments().value(0).toByteArray().count('\n'), 3);
    const QDBusMessage json = ask("ma", 0, "json");
    EXPECT_EQ(json.arguments().value(0).toByteArray(), SearchResultText::json(direct.items));
    EXPECT_EQ(ask("ma", 6, "lines").errorName(), SearchBus::ErrorRefused);
    EXPECT_EQ(ask("ma", 7, "lines").errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    EXPECT_EQ(ask("ma", 0, "xml").errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
}

// The desktop's rows come after the found items, kept for the pass of their text and dropped for
// any other; what is typed under the protected notes' filter is never asked of the desktop.
TEST(SearchController, DesktopRowsGoBelowAndNothingTypedForProtectedNotesLeaves)
{
    SearchController c([] { return twelveRecords(); });
    QStringList asked;
    c.setDesktopSearchAsker([&asked](const QString &text) { asked << text; });
    c.setProtectedPasswordAsker([] { return true; });
    const QList<QVariantMap> rows = {rec(13, "from the desktop 1"), rec(13, "from the desktop 2")};

    c.searchFieldModified("ma");
    c.showDesktopRows("ma", 0, rows); // before the pass: kept for it
    ASSERT_TRUE(waitIdle(c));
    ASSERT_EQ(c.desktopRowCount(), 2);
    const FoundItems &shown = c.displayedList();
    EXPECT_EQ(shown.at(shown.size() - 2).record().value("T"), "from the desktop 1");
    EXPECT_EQ(shown.at(shown.size() - 1).record().value("T"), "from the desktop 2");
    EXPECT_EQ(c.selectionInformation(), QString("%1 / 14").arg(shown.size()));

    // After the pass: appended, the rows above left as they are.
    QSignalSpy appended(&c, &SearchController::displayedRowsAppended);
    QSignalSpy replaced(&c, &SearchController::displayedListUpdated);
    c.showDesktopRows("ma", 1, {rec(13, "a later source")});
    EXPECT_EQ(appended.count(), 1);
    EXPECT_EQ(replaced.count(), 0);
    EXPECT_EQ(c.displayedList().last().record().value("T"), "a later source");
    c.showDesktopRows("m", 2, {rec(13, "an older text")});
    EXPECT_EQ(c.desktopRowCount(), 3);

    c.setTypeForSearch(6);
    c.searchFieldModified("secret");
    ASSERT_TRUE(waitIdle(c));
    c.showDesktopRows("secret", 0, rows);
    EXPECT_EQ(c.desktopRowCount(), 0);
    EXPECT_EQ(asked, (QStringList{"ma", ""}));
}
