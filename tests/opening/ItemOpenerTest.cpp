#include "AnswerRecord.h"
#include "NativeFileName.h"
#include "OpeningFixture.h"

#include "RecentItems.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString X = QStringLiteral("x");
const QString T = QStringLiteral("T");
const QString P = QStringLiteral("P");
const QString U = QStringLiteral("U");

QStringList titlesOf(const QVariantList &list)
{
    QStringList titles;
    for (const QVariant &entry : list) {
        const QVariantMap map = entry.toMap();
        titles << (map.contains(T) ? map.value(T).toString() : map.value(P).toString());
    }
    return titles;
}

} // namespace

TEST_F(OpeningTest, SameApplicationTwiceLeavesOneEntryFirstAndStoresTheListAtOnce)
{
    const QString editor = makeFile(QStringLiteral("apps/editor.desktop"));
    const QString document = makeFile(QStringLiteral("doc.txt"));
    const QVariantMap app = record(1, P, editor, {{T, QStringLiteral("Editor")}});
    const QVariantMap file = record(2, P, document, {{T, QStringLiteral("doc")}});

    mOpener->openItem(app, false);
    mOpener->openItem(file, false);
    // The search engine's annotations do not make it another item, and are not kept.
    QVariantMap annotated = app;
    annotated.insert(QStringLiteral("L"), 1);
    annotated.insert(QStringLiteral("p"), 3);
    mOpener->openItem(annotated, false);

    EXPECT_EQ(mRecent, (QVariantList{app, file}));
    EXPECT_EQ(mWorkspace.opened(), QStringList{document});
    EXPECT_TRUE(mWorkspace.launched().isEmpty()) << "launching waits 0.1 s";
    ASSERT_TRUE(QTest::qWaitFor([this] { return mWorkspace.launched().size() == 2; }, 2000));
    EXPECT_EQ(mWorkspace.launched(), (QStringList{editor, editor}));
    // An application is confirmed once it was launched, a document once it was handed over.
    EXPECT_EQ(mView.calls.mid(0, 4),
              (QStringList{"clearMenu", "close:150", "open:" + document, "clearMenu"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mView.calls.count("open:" + editor) == 2; }, 2000));

    SharedPreferences fresh;
    EXPECT_EQ(fresh.listValue(RecentItems::PreferenceKey).value_or(QVariantList()), mRecent);
}

TEST_F(OpeningTest, NotesAndContactsCopyTheirTextAndReplaceTheSameTitle)
{
    mOpener->openItem(note(QStringLiteral("Shopping"), QStringLiteral("milk")), false);
    mOpener->openItem(note(QStringLiteral("Work"), QStringLiteral("report")), false);
    mOpener->openItem(note(QStringLiteral("Shopping"), QStringLiteral("bread")), false);
    // A protected note is copied but not recorded: neither its text nor its title reaches the
    // preferences file in clear.
    mOpener->openItem(note(QStringLiteral("Bank vault"), QStringLiteral("secret"), 6), false);

    ASSERT_EQ(mRecent.size(), 2);
    EXPECT_EQ(titlesOf(mRecent), (QStringList{"Shopping", "Work"}));
    EXPECT_EQ(mRecent.at(0).toMap().value(QStringLiteral("t")), QStringLiteral("bread"));
    EXPECT_EQ(mCopied, (QStringList{"milk", "report", "bread", "secret"}));
    EXPECT_EQ(mView.calls.count(QStringLiteral("copy")), 4);

    SharedPreferences fresh;
    QFile file(fresh.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_TRUE(stored.contains("bread"));
    EXPECT_EQ(fresh.listValue(RecentItems::PreferenceKey)->at(0).toMap().value(T),
              QStringLiteral("Shopping"));
    EXPECT_FALSE(stored.contains("secret"));
    EXPECT_FALSE(stored.contains("Bank vault"));

    // An empty preview copies nothing and says nothing.
    mView.calls.clear();
    mOpener->openItem(note(QStringLiteral("Empty"), QString()), false);
    EXPECT_EQ(mCopied.size(), 4);
    EXPECT_FALSE(mView.calls.contains(QStringLiteral("copy")));
}

TEST_F(OpeningTest, ClipboardEntriesAreWrittenBackButNeverRecorded)
{
    mOpener->openItem(note(QStringLiteral("A"), QStringLiteral("a")), false);
    const QVariantList before = mRecent;

    const QVariantMap entry = {
        {X, 9}, {T, QStringLiteral("clip")}, {QStringLiteral("cb"), QByteArray("packed")}};
    mView.calls.clear();
    mOpener->openItem(entry, false);
    EXPECT_EQ(mRecent, before);
    EXPECT_EQ(mWrittenEntries, QList<QByteArray>{"packed"});
    EXPECT_EQ(mView.calls.first(), QStringLiteral("text:MessageCopyToPasteboard"));

    // Contents that do not decode leave the clipboard alone and claim nothing.
    mView.calls.clear();
    mOpener->openItem(QVariantMap{{X, 9}, {QStringLiteral("cb"), QByteArray()}}, false);
    EXPECT_EQ(mWrittenEntries.size(), 2);
    EXPECT_FALSE(mView.calls.contains(QStringLiteral("text:MessageCopyToPasteboard")));
    EXPECT_EQ(mRecent, before);
}

TEST_F(OpeningTest, TheHundredAndFirstItemDropsTheOldest)
{
    for (int i = 0; i < 101; ++i)
        mOpener->openItem(note(QStringLiteral("note %1").arg(i), QStringLiteral("t%1").arg(i)),
                          false);
    ASSERT_EQ(mRecent.size(), RecentItems::MaximumCount);
    EXPECT_EQ(mRecent.first().toMap().value(T), QStringLiteral("note 100"));
    EXPECT_EQ(mRecent.last().toMap().value(T), QStringLiteral("note 1"));
    SharedPreferences fresh;
    EXPECT_EQ(fresh.listValue(RecentItems::PreferenceKey)->size(), RecentItems::MaximumCount);
}

TEST_F(OpeningTest, OptionRevealsInsteadOfLaunchingUnlessOpenOnly)
{
    const QString editor = makeFile(QStringLiteral("apps/editor.desktop"));
    const QVariantMap app = record(1, P, editor);
    mOptionDown = true;

    mOpener->openItem(app, false);
    QTest::qWait(200);
    EXPECT_EQ(mWorkspace.revealed(), QStringList{editor});
    EXPECT_TRUE(mWorkspace.launched().isEmpty());
    EXPECT_EQ(mRecent, QVariantList{app}) << "revealing is an opening too";

    // An item shortcut ignores Option.
    mOpener->openItem(app, true);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return mWorkspace.launched() == QStringList{editor}; }, 2000));
    EXPECT_EQ(mWorkspace.revealed().size(), 1);
}

TEST_F(OpeningTest, FilesThatAreApplicationsAreLaunched)
{
    const QString program = makeFile(QStringLiteral("bin/tool"), "#!/bin/sh\n");
    QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString folder = QFileInfo(program).absolutePath();

    mOpener->openItem(record(2, P, program), false);
    mOpener->openItem(record(10, P, folder), false);
    EXPECT_EQ(mWorkspace.opened(), QStringList{folder});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !mWorkspace.launched().isEmpty(); }, 2000));
    EXPECT_EQ(mWorkspace.launched(), QStringList{program});
}

TEST_F(OpeningTest, AMissingPathIsNotReportedAsOpenedButStaysFirst)
{
    CapturedLog log;
    const QString gone = mHome.path() + QStringLiteral("/gone.app");
    const QVariantMap app = record(1, P, gone);
    mOpener->openItem(record(5, T, QStringLiteral("other"), {{"t", "x"}}), false);
    mOpener->openItem(app, false);
    QTest::qWait(200);

    EXPECT_TRUE(mWorkspace.launched().isEmpty());
    EXPECT_FALSE(mView.calls.contains("open:" + gone));
    EXPECT_EQ(mRecent.first(), app);
    EXPECT_EQ(log.lines(), QStringList{"Unable opening " + gone + ": nothing at that path"});
    EXPECT_EQ(mView.calls.last(), QStringLiteral("close:150"));
}

// The documents' index keeps a name that is not UTF-8 escaped; it is found on disk by its bytes.
TEST_F(OpeningTest, ADocumentWhoseNameIsNotUtf8OpensAndIsRevealed)
{
    const QByteArray native = QFile::encodeName(mHome.path()) + "/r\xe9sum\xe9.odt";
    QFile file;
    ASSERT_TRUE(file.open(::fopen(native.constData(), "w"), QIODevice::WriteOnly,
                          QFileDevice::AutoCloseHandle));
    file.close();
    const QString path = NativeFileName::fromNative(native);

    mOpener->openItem(record(2, P, path), false);
    mOptionDown = true;
    mOpener->openItem(record(2, P, path), false);
    EXPECT_EQ(mWorkspace.opened(), QStringList{path});
    EXPECT_EQ(mWorkspace.revealed(), QStringList{path});
}

TEST_F(OpeningTest, BookmarksTryHttpOnceThenGiveUpSilently)
{
    mOpener->openItem(record(3, U, QStringLiteral("https://example.org/a?b=1")), false);
    mOpener->openItem(record(3, U, QStringLiteral("www.example.org/path")), false);
    mView.calls.clear();
    mOpener->openItem(record(3, U, QStringLiteral("www.exa mple.org")), false);

    EXPECT_EQ(mWorkspace.opened(),
              (QStringList{QStringLiteral("https://example.org/a?b=1"),
                           QStringLiteral("http://www.example.org/path")}));
    EXPECT_FALSE(mView.calls.contains(QStringLiteral("url")));
    EXPECT_EQ(mRecent.first().toMap().value(U), QStringLiteral("www.exa mple.org"));
    EXPECT_EQ(mRecent.size(), 3);
}

TEST_F(OpeningTest, ContactsLaunchTheContactsApplicationUnlessOptionIsHeld)
{
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=%1\nExec=true\n"
                             "Categories=%2\n";
    const QString office = makeFile(QStringLiteral("apps/office.desktop"),
                                    QString::fromLatin1(entry).arg("Office", "Office;").toUtf8());
    const QString contacts = makeFile(
        QStringLiteral("apps/contacts.desktop"),
        QString::fromLatin1(entry).arg("Contacts", "GNOME;Office;ContactManagement;").toUtf8());
    const QVariantMap person = {{X, 4},
                                {T, QStringLiteral("Ann Lee")},
                                {QStringLiteral("t"), QStringLiteral("Ann Lee\n+33 1 23")}};

    mOpener->openItem(person, false);
    QTest::qWait(200);
    EXPECT_TRUE(mWorkspace.launched().isEmpty()) << "no contacts application listed: copy only";
    EXPECT_EQ(mCopied, QStringList{"Ann Lee\n+33 1 23"});

    mApplications = {record(1, P, office), record(1, P, contacts)};
    mOptionDown = true;
    mOpener->openItem(person, false);
    QTest::qWait(200);
    EXPECT_TRUE(mWorkspace.launched().isEmpty());

    mOptionDown = false;
    mOpener->openItem(person, false);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !mWorkspace.launched().isEmpty(); }, 2000));
    EXPECT_EQ(mWorkspace.launched(), QStringList{contacts});
    EXPECT_EQ(mCopied.size(), 3);
    EXPECT_EQ(mRecent.size(), 1);
}

TEST_F(OpeningTest, StocksOpenTheEditorAndAreStoredWithTheNextOpening)
{
    const QVariantMap stock = {{X, 7}, {T, QStringLiteral("ACME")}};
    mOpener->openItem(stock, false);
    EXPECT_EQ(mView.calls, QStringList{"edit:ACME"});
    EXPECT_EQ(mRecent, QVariantList{stock});
    EXPECT_FALSE(SharedPreferences().contains(RecentItems::PreferenceKey));

    mOpener->openItem(note(QStringLiteral("N"), QStringLiteral("n")), false);
    EXPECT_EQ(SharedPreferences().listValue(RecentItems::PreferenceKey)->size(), 2);
}

TEST_F(OpeningTest, ReturnRightAfterTheWindowOpenedIsIgnored)
{
    mView.openedTime = mNow - 0.3;
    mOpener->doOpenItem(note(QStringLiteral("N"), QStringLiteral("n")));
    EXPECT_TRUE(mView.calls.isEmpty());
    EXPECT_TRUE(mRecent.isEmpty());

    mNow += 0.3;
    mOpener->doOpenItem(note(QStringLiteral("N"), QStringLiteral("n")));
    EXPECT_EQ(mRecent.size(), 1);

    mView.calls.clear();
    mOpener->doOpenItem(std::nullopt);
    EXPECT_EQ(mView.calls, QStringList{"close:150"});
}

TEST_F(OpeningTest, RecentAndMenuEntriesOpenByTheirTags)
{
    const QString folder = mHome.path() + QStringLiteral("/Apps/Tool.APP");
    QDir().mkpath(folder);
    const QString file = makeFile(QStringLiteral("notes.txt"));

    mOpener->setPopupMenuPaths({folder, file, mHome.path() + QStringLiteral("/missing")});
    mOpener->doRevealItemInPopupMenu(2);
    mOpener->doRevealItemInPopupMenu(7);
    EXPECT_TRUE(mRecent.isEmpty());

    mOpener->doRevealItemInPopupMenu(1);
    mOpener->doRevealItemInPopupMenu(0);
    ASSERT_EQ(mRecent.size(), 2);
    EXPECT_EQ(mRecent.first().toMap(),
              (QVariantMap{{X, 1}, {P, folder}, {QStringLiteral("-"), 1}}));
    EXPECT_EQ(mMenuOpened, mRecent);
    EXPECT_EQ(mWorkspace.opened(), QStringList{file});

    mOpener->openItem(note(QStringLiteral("N"), QStringLiteral("n")), false);
    EXPECT_EQ(mMenuOpened.size(), 2);
    EXPECT_EQ(mRecent.size(), 3);

    // Tag 2 is the file's entry; opening it brings it to the front.
    mOpener->doOpenRecentItem(2);
    mOpener->doOpenRecentItem(3);
    mOpener->doOpenRecentItem(-1);
    EXPECT_EQ(mRecent.first().toMap().value(P), file);
    EXPECT_EQ(mWorkspace.opened(), (QStringList{file, file}));
}

TEST_F(OpeningTest, EmailGoesToTheFirstAddressAndTheWindowClosesAnyway)
{
    const auto contact = [](const QString &emails) {
        return QVariantMap{{X, 4}, {QStringLiteral("Email"), emails}};
    };
    mOpener->sendEmailTo(contact(QStringLiteral("\nwork\tann@example.org\nhome\tann@home.org")));
    mOpener->sendEmailTo(contact(QStringLiteral("first@example.org\nsecond@example.org")));
    mOpener->sendEmailTo(contact(QStringLiteral("not an address")));
    mOpener->sendEmailTo(contact(QString()));
    mOpener->sendEmailTo(std::nullopt);

    EXPECT_EQ(mWorkspace.opened(),
              (QStringList{QStringLiteral("mailto:ann@example.org"),
                           QStringLiteral("mailto:first@example.org")}));
    EXPECT_EQ(mView.calls, QStringList(5, QStringLiteral("close:0")));
    EXPECT_TRUE(mRecent.isEmpty());
}

TEST_F(OpeningTest, RevealingSelectsFileSystemItemsOnly)
{
    const QString file = makeFile(QStringLiteral("a.txt"));
    mOpener->doRevealItem(record(2, P, file));
    mOpener->doRevealItem(note(QStringLiteral("N"), QStringLiteral("n")));
    mOpener->doRevealItem(std::nullopt);
    EXPECT_EQ(mWorkspace.revealed(), QStringList{file});
    EXPECT_EQ(mView.calls.count(QStringLiteral("close:0")), 3);
    EXPECT_TRUE(mRecent.isEmpty());
}

TEST_F(OpeningTest, TheBrowserIsToldThePathTwice)
{
    ASSERT_TRUE(mNotifications->observe(QStringLiteral("KRV1_BrowserNotification")));
    QSignalSpy received(mNotifications.get(), &NotificationCenter::notificationReceived);
    const QString file = makeFile(QStringLiteral("docs/a.txt"));

    CapturedLog log;
    mOpener->doOpenBrowser(record(2, P, file));
    EXPECT_EQ(log.lines().size(), 1) << "the browser program is not there: one line";
    EXPECT_TRUE(log.lines().value(0).contains(QLatin1String("korvale-browser")));
    EXPECT_TRUE(mWorkspace.launched().isEmpty());
    EXPECT_EQ(mView.calls, QStringList{"close:500"});

    QTest::qWait(500);
    EXPECT_EQ(received.size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 2000));
    for (const QList<QVariant> &notice : received) {
        EXPECT_EQ(notice.at(0), QStringLiteral("KRV1_BrowserNotification"));
        EXPECT_EQ(notice.at(1), QStringLiteral("PathToBrowser"));
        EXPECT_EQ(notice.at(2).toMap(),
                  (QVariantMap{{QStringLiteral("Path"), file},
                               {QStringLiteral("WindowFrame"), mView.accessWindowFrame()}}));
    }

    // With the program in place it is started; a note sends the empty path.
    const QString browser = makeFile(QStringLiteral("bin/korvale-browser"), "#!/bin/sh\n");
    QFile(browser).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    received.clear();
    mOpener->doOpenBrowser(note(QStringLiteral("N"), QStringLiteral("n")));
    EXPECT_EQ(mWorkspace.launched(), QStringList{browser});
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 3000));
    EXPECT_EQ(received.at(0).at(2).toMap().value(QStringLiteral("Path")), QString());

    // A running browser is brought forward, not started again.
    mWorkspace.addProcess(4242, browser);
    mOpener->doOpenBrowser(std::nullopt);
    EXPECT_EQ(mWorkspace.launched().size(), 1);
    EXPECT_EQ(mWorkspace.frontPid(), 4242);
    QTest::qWait(900);
}

TEST_F(OpeningTest, TextGoesToTheClipboardAsPlainTextOnly)
{
    ItemOpener::Environment env = environment();
    env.copyPlainText = nullptr;
    ItemOpener opener(env);
    auto *rich = new QMimeData;
    rich->setHtml(QStringLiteral("<b>old</b>"));
    QGuiApplication::clipboard()->setMimeData(rich);

    opener.openItem(note(QStringLiteral("N"), QStringLiteral("plain words")), false);
    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->formats(), QStringList{"text/plain"});
    EXPECT_EQ(now->text(), QStringLiteral("plain words"));
}

// With no file manager and no default application, nothing fails silently: a folder opens in
// the suite's own browser (its enclosing folder for a reveal), anything else gets an alert that
// names it and says why.
TEST_F(OpeningTest, WhatTheDesktopCannotOpenGoesToTheBrowserOrIsSaidWithItsReason)
{
    mWorkspace.setOpenSucceeds(false);
    mWorkspace.setRevealSucceeds(false);
    const QString browser = makeFile(QStringLiteral("bin/korvale-browser"), "#!/bin/sh\n");
    QFile(browser).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QString document = makeFile(QStringLiteral("papers/report.odt"));
    const QString folder = QFileInfo(document).absolutePath();
    QStringList shown;
    mNotifications->observe(NotificationChannel::Browser);
    QObject::connect(mNotifications.get(), &NotificationCenter::notificationReceived,
                     [&shown](const QString &, const QString &object, const QVariantMap &info) {
                         if (object == QLatin1String("PathToBrowser"))
                             shown << info.value(QStringLiteral("Path")).toString();
                     });

    mOpener->openItem(record(2, P, folder), false);
    EXPECT_EQ(mWorkspace.launched(), QStringList{browser});
    EXPECT_TRUE(mView.calls.contains("open:" + folder));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2; }, 3000));
    EXPECT_EQ(shown, (QStringList{folder, folder}));

    mOpener->openItem(record(2, P, document), false);
    EXPECT_TRUE(mView.calls.contains("failed:" + document));
    EXPECT_EQ(mView.reasons, QStringList{"OpenFailedNoApplication"});

    // Alt+Return reveals: the enclosing folder, in the browser.
    shown.clear();
    mOptionDown = true;
    mOpener->openItem(record(2, P, document), false);
    EXPECT_EQ(mWorkspace.revealed(), QStringList{document});
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2; }, 3000));
    EXPECT_EQ(shown.first(), folder);
    EXPECT_EQ(mView.reasons.size(), 1);

    // Without the browser either, the alert says so.
    QFile::remove(browser);
    mOptionDown = false;
    mOpener->openItem(record(2, P, folder), false);
    EXPECT_EQ(mView.reasons.last(), "OpenFailedNoBrowser");
}

TEST_F(OpeningTest, AnswersCopyTheirResultOrOpenTheirAddressAndAreNeverRecorded)
{
    mOpener->openItem(note(QStringLiteral("A"), QStringLiteral("a")), false);
    const QVariantList before = mRecent;
    mCopied.clear();

    QVariantMap sum = AnswerRecord::make(QStringLiteral("AnswersCalculator"), QStringLiteral("14"),
                                         QStringLiteral("2 + (3 ⋅ 4)"));
    sum.insert(AnswerRecord::KeyCopy, QStringLiteral("14"));
    mOpener->openItem(sum, false);
    EXPECT_EQ(mCopied, QStringList{QStringLiteral("14")});
    EXPECT_TRUE(mView.calls.contains(QStringLiteral("copy")));

    QVariantMap search = AnswerRecord::make(
        QStringLiteral("AnswersWebKeywords"), QStringLiteral("Search Google for “quokka”"),
        QStringLiteral("https://www.google.com/search?q=quokka"));
    search.insert(AnswerRecord::KeyOpenAddress,
                  QStringLiteral("https://www.google.com/search?q=quokka"));
    mOpener->openItem(search, false);
    EXPECT_EQ(mWorkspace.opened(),
              QStringList{QStringLiteral("https://www.google.com/search?q=quokka")});
    EXPECT_EQ(mCopied.size(), 1);
    EXPECT_EQ(mRecent, before);
}
