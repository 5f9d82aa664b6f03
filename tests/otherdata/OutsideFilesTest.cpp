// Other programs' files are read as regular files, never past the limit of their kind: a link to
// /dev/zero or a FIFO where a reader expects a file gives nothing, at once, and the other files
// are still read (docs/platform.md, "Files from elsewhere").
#include "AddressBookReader.h"
#include "BookmarkReader.h"
#include "BoundedFile.h"
#include "BrowserBookmarks.h"
#include "CalendarReader.h"
#include "DesktopEntryReader.h"
#include "FifoSupport.h"
#include "NotesText.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList titles(const QVariantList &records)
{
    QStringList list;
    for (const QVariant &record : records)
        list << record.toMap().value("T").toString();
    return list;
}

bool logged(const CapturedLog &log, const QString &path, const QString &what)
{
    for (const QString &line : log.lines()) {
        if (line.startsWith("Exception reading file " + path + ": ") && line.contains(what))
            return true;
    }
    return false;
}

QByteArray chromiumBookmarks(const char *title)
{
    return QByteArray(R"({"roots":{"bookmark_bar":{"type":"folder","children":[)"
                      R"({"type":"url","name":")")
        + title + R"(","url":"https://chromium.example/"}]}}})";
}

QByteArray firefoxBackup(const char *title)
{
    return QByteArray(R"({"title":"","children":[{"title":")") + title
        + R"(","uri":"https://firefox.example/","type":"text/x-moz-place"}]})";
}

const char *const Card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lovelace;Ada\r\nUID:ada\r\n"
                         "TEL;TYPE=CELL:+33 6 12 34 56 78\r\nEND:VCARD\r\n";

const char *const Calendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                             "DTSTART:20270310T090000Z\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n";

} // namespace

TEST(BoundedFile, ReadsRegularFilesAndWhatLinksLeadToAndRefusesTheRest)
{
    TemporaryHome home;
    const QString file = home.path() + "/ten.txt";
    write(file, "0123456789");
    const QString link = home.path() + "/link.txt";
    ASSERT_TRUE(QFile::link(file, link));
    const QString fifo = home.path() + "/fifo";
    ASSERT_TRUE(makeFifo(fifo));
    const QString zero = home.path() + "/zero";
    ASSERT_TRUE(linkToDevZero(zero));
    const QString empty = home.path() + "/empty";
    write(empty, {});

    for (const QString &path : {file, link}) {
        const BoundedFile::Result read = BoundedFile::read(path, 10);
        EXPECT_EQ(read.status, BoundedFile::Status::Read) << read.reason.toStdString();
        EXPECT_EQ(read.bytes, "0123456789");
        EXPECT_TRUE(read.reason.isEmpty());
    }
    // Over the limit, the file is refused whole, whichever way the size is learnt.
    const BoundedFile::Result over = BoundedFile::read(file, 9);
    EXPECT_EQ(over.status, BoundedFile::Status::TooLarge);
    EXPECT_TRUE(over.bytes.isEmpty());
    EXPECT_EQ(over.reason, "larger than 9 bytes");
    // A head is cut where asked, however long the file.
    EXPECT_EQ(BoundedFile::readHead(link, 4).bytes, "0123");
    EXPECT_EQ(BoundedFile::readHead(file, 64).bytes, "0123456789");
    EXPECT_EQ(BoundedFile::read(empty, 10).status, BoundedFile::Status::Read);

    EXPECT_EQ(BoundedFile::read(home.path(), 10).status, BoundedFile::Status::NotRegular);
    EXPECT_EQ(BoundedFile::read(home.path(), 10).reason, "not a regular file (a folder)");
    const BoundedFile::Result fromFifo =
        returnsWithoutAWriter({fifo}, [&] { return BoundedFile::read(fifo, 10); });
    EXPECT_EQ(fromFifo.status, BoundedFile::Status::NotRegular);
    EXPECT_EQ(fromFifo.reason, "not a regular file (a FIFO)");
    EXPECT_EQ(BoundedFile::readHead(fifo, 10).status, BoundedFile::Status::NotRegular);
    for (const QString &device : {QStringLiteral("/dev/zero"), zero}) {
        const BoundedFile::Result read = BoundedFile::read(device, 1 << 20);
        EXPECT_EQ(read.status, BoundedFile::Status::NotRegular);
        EXPECT_EQ(read.reason, "not a regular file (a device)");
        EXPECT_TRUE(read.bytes.isEmpty());
    }
    EXPECT_EQ(BoundedFile::read(home.path() + "/none", 10).status, BoundedFile::Status::Missing);
    EXPECT_EQ(BoundedFile::read(QString(), 10).status, BoundedFile::Status::Missing);
    EXPECT_TRUE(BoundedFile::isRegularFile(link));
    EXPECT_FALSE(BoundedFile::isRegularFile(fifo));
    EXPECT_FALSE(BoundedFile::isRegularFile(zero));

    // One line for a file that is there and was not read; none for one that is missing.
    CapturedLog log;
    BoundedFile::logFailure(fifo, fromFifo);
    BoundedFile::logFailure(home.path() + "/none", BoundedFile::read(home.path() + "/none", 1));
    EXPECT_EQ(log.lines(),
              QStringList("Exception reading file " + fifo
                          + ": NotRegularFile: not a regular file (a FIFO)"));
}

TEST(OutsideFiles, BookmarksSkipADeviceAndAFifoAndReadTheOtherBrowsers)
{
    TemporaryHome home;
    // A Safari list that never ends, and a profiles.ini nobody writes to.
    ASSERT_TRUE(linkToDevZero(SafariBookmarks::path()));
    const QString profiles = home.path() + "/.mozilla/firefox/profiles.ini";
    ASSERT_TRUE(makeFifo(profiles));
    write(home.path() + "/.mozilla/firefox/abc.default-release/bookmarkbackups/b.json",
          firefoxBackup("Fox page"));
    write(home.path() + "/.config/chromium/Default/Bookmarks", chromiumBookmarks("Chrome page"));

    CapturedLog log;
    const QVariantList bookmarks =
        returnsWithoutAWriter({profiles}, [] { return BookmarkReader::readAll(); });
    EXPECT_EQ(titles(bookmarks), QStringList({"Chrome page", "Fox page"}));
    EXPECT_TRUE(logged(log, profiles, "NotRegularFile")) << log.lines().join('\n').toStdString();
    EXPECT_TRUE(logged(log, SafariBookmarks::path(), "not a regular file (a device)"));
}

TEST(OutsideFiles, AProfilesFileOverItsLimitIsRefusedWhole)
{
    TemporaryHome home;
    const QString root = home.path() + "/.mozilla/firefox";
    write(root + "/custom/bookmarkbackups/b.json", firefoxBackup("Fox page"));
    const QByteArray profile = "\n[Profile0]\nName=me\nIsRelative=1\nPath=custom\n";
    // Comment lines up to the limit exactly, then one byte more.
    QByteArray padding(BoundedFile::Limit::FirefoxProfiles - profile.size(), '#');
    padding[padding.size() - 1] = '\n';
    write(root + "/profiles.ini", padding + profile);
    EXPECT_EQ(FirefoxBookmarks::profileFolders(),
              QStringList(QDir(root + "/custom").canonicalPath()));

    write(root + "/profiles.ini", padding + "#" + profile);
    CapturedLog log;
    EXPECT_TRUE(FirefoxBookmarks::profileFolders().isEmpty());
    EXPECT_TRUE(logged(log, root + "/profiles.ini",
                       QStringLiteral("FileTooLarge: larger than %1 bytes")
                           .arg(BoundedFile::Limit::FirefoxProfiles)));
}

TEST(OutsideFiles, ContactsAndEventsSkipFifosAndDevicesAndReadTheOtherFiles)
{
    TemporaryHome home;
    const QString folder = home.path() + "/cards";
    write(folder + "/ada.vcf", Card);
    const QString fifoCard = folder + "/fifo.vcf";
    ASSERT_TRUE(makeFifo(fifoCard));
    ASSERT_TRUE(linkToDevZero(folder + "/zero.vcf"));
    const QString fifoPicture = home.path() + "/picture.png";
    ASSERT_TRUE(makeFifo(fifoPicture));
    write(folder + "/grace.vcf",
          "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Hopper;Grace\r\nUID:grace\r\nPHOTO;VALUE=uri:file://"
              + QFile::encodeName(fifoPicture) + "\r\nEND:VCARD\r\n");
    const QString fifoStore = home.path() + "/contacts.db";
    ASSERT_TRUE(makeFifo(fifoStore));

    const AddressBookReader::AddressBook book =
        returnsWithoutAWriter({fifoCard, fifoPicture, fifoStore}, [&] {
            return AddressBookReader::read({{fifoStore}, {folder, fifoCard}, {}, {}});
        });
    EXPECT_EQ(titles(book.records), QStringList({"Ada Lovelace", "Grace Hopper"}));
    EXPECT_TRUE(book.pictures.isEmpty());

    const QString calendar = home.path() + "/calendar.ics";
    write(calendar, Calendar);
    const QString fifoCalendar = home.path() + "/fifo.ics";
    ASSERT_TRUE(makeFifo(fifoCalendar));
    const QString zeroCalendar = home.path() + "/zero.ics";
    ASSERT_TRUE(linkToDevZero(zeroCalendar));
    CapturedLog log;
    const QVariantList events = returnsWithoutAWriter({fifoCalendar}, [&] {
        return CalendarReader::eventsInFiles({fifoCalendar, zeroCalendar, calendar},
                                             QDateTime(QDate(2027, 3, 1), QTime(0, 0)),
                                             QDateTime(QDate(2027, 4, 1), QTime(0, 0)));
    });
    EXPECT_EQ(titles(events), QStringList("Dentist"));
    EXPECT_TRUE(logged(log, fifoCalendar, "NotRegularFile"));
    EXPECT_TRUE(logged(log, zeroCalendar, "NotRegularFile"));
}

TEST(OutsideFiles, DesktopEntriesAndImportedNotesAreNotWaitedFor)
{
    TemporaryHome home;
    const QString entry = home.path() + "/applications/editor.desktop";
    write(entry, "[Desktop Entry]\nType=Application\nName=Editor\nExec=/bin/true\n");
    const QString fifoEntry = home.path() + "/applications/fifo.desktop";
    ASSERT_TRUE(makeFifo(fifoEntry));
    const QString zeroEntry = home.path() + "/applications/zero.desktop";
    ASSERT_TRUE(linkToDevZero(zeroEntry));
    DesktopEntryReader reader;
    EXPECT_EQ(reader.listedTitle(entry), "Editor");
    EXPECT_EQ(returnsWithoutAWriter({fifoEntry}, [&] { return reader.listedTitle(fifoEntry); }),
              std::nullopt);
    EXPECT_FALSE(DesktopEntryReader::isApplicationAtPath(zeroEntry));

    const QString notes = home.path() + "/notes.txt";
    write(notes, "Shopping\tbread\n");
    const QString fifoNotes = home.path() + "/notes-fifo.txt";
    ASSERT_TRUE(makeFifo(fifoNotes));
    const NotesText::ImportedFile fromFifo = returnsWithoutAWriter(
        {fifoNotes}, [&] { return NotesText::importNotesFromFile(fifoNotes, false); });
    EXPECT_TRUE(fromFifo.notes.isEmpty());
    EXPECT_EQ(fromFifo.failure, "not a regular file (a FIFO)");
    EXPECT_EQ(titles(NotesText::importNotesFromFile(notes, false).notes), QStringList("Shopping"));

    // The command line says why, and imports nothing.
    QProcess tool;
    tool.start(builtProgram("bin/korvale-notes"), {"import", fifoNotes});
    ASSERT_TRUE(tool.waitForStarted(10000));
    const bool ended = tool.waitForFinished(60000); // a hang check: the import must not wait
    if (!ended)
        tool.kill();
    ASSERT_TRUE(ended) << "korvale-notes waited on the FIFO";
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(tool.readAllStandardError().contains("not a regular file (a FIFO)"));
    EXPECT_EQ(runProgram(builtProgram("bin/korvale-notes"), {"list"}).out, "");
}

// The search tool reads the browsers itself with --files: a FIFO for profiles.ini held it for
// good. It answers, with the bookmarks of the other browsers.
TEST(OutsideFiles, KorvaleSearchAnswersWithAFifoForTheFirefoxProfiles)
{
    TemporaryHome home;
    ASSERT_TRUE(makeFifo(home.path() + "/.mozilla/firefox/profiles.ini"));
    ASSERT_TRUE(linkToDevZero(SafariBookmarks::path()));
    write(home.path() + "/.config/chromium/Default/Bookmarks", chromiumBookmarks("Zorglub wiki"));
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("OtherDataBookmarks", 1);
    ASSERT_TRUE(preferences.synchronize());

    QProcess search;
    search.start(builtProgram("bin/korvale-search"), {"--files", "zorglub"});
    ASSERT_TRUE(search.waitForStarted(10000));
    const bool ended = search.waitForFinished(60000); // a hang check, not a time limit
    if (!ended)
        search.kill();
    ASSERT_TRUE(ended) << "korvale-search waited on the FIFO";
    EXPECT_EQ(search.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(search.readAllStandardOutput(), "3\tZorglub wiki\thttps://chromium.example/\n");
}

// docs/platform.md gives each kind's limit; the code must use the same.
TEST(OutsideFiles, TheLimitsAreTheOnesTheDocsGive)
{
    QFile doc(QStringLiteral(KORVALE_SOURCE_DIR "/docs/platform.md"));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    const QRegularExpression row(QStringLiteral("^\\| `Limit::(\\w+)` \\| (\\d+) MiB \\|"),
                                 QRegularExpression::MultilineOption);
    QMap<QString, qint64> documented;
    for (auto match = row.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        documented.insert(found.captured(1),
                          found.captured(2).toLongLong() * BoundedFile::Limit::MiB);
    }
    namespace L = BoundedFile::Limit;
    const QMap<QString, qint64> inCode{
        {"FirefoxProfiles", L::FirefoxProfiles},
        {"Bookmarks", L::Bookmarks},
        {"VCards", L::VCards},
        {"Calendar", L::Calendar},
        {"ContactPicture", L::ContactPicture},
        {"ThunderbirdStore", L::ThunderbirdStore},
        {"ImportedNotes", L::ImportedNotes},
        {"InstallScript", L::InstallScript},
        {"InstallerNews", L::InstallerNews},
        {"DesktopEntry", L::DesktopEntry},
        {"ApplicationIcon", L::ApplicationIcon},
        {"StockQuotes", L::StockQuotes},
        {"HiddenList", L::HiddenList},
        {"BundlePropertyList", L::BundlePropertyList},
        {"AppStream", L::AppStream},
        {"ApplicationsUse", L::ApplicationsUse},
        {"ClipboardList", L::ClipboardList},
        {"List", L::List},
        {"Preferences", L::Preferences},
    };
    EXPECT_EQ(documented, inCode);
    EXPECT_TRUE(
        text.contains(QStringLiteral("| `Limit::ListRecords` | %1 records |").arg(L::ListRecords)));
}

// The agent reads its entries at every rescan and again for the rows it draws: a refused entry
// is one log line, not one a read.
TEST(OutsideFiles, ARefusedDesktopEntryIsSaidOncePerFile)
{
    TemporaryHome home;
    const QString folder = home.path() + "/applications/";
    const QString entry = folder + "editor.desktop";
    write(entry, "[Desktop Entry]\nType=Application\nName=Editor\nExec=/bin/true\n");
    const QString large = folder + "large.desktop";
    write(large, "[Desktop Entry]\nType=Application\nName=Large\nExec=/bin/true\n#"
              + QByteArray(int(BoundedFile::Limit::DesktopEntry), 'x'));
    const QString fifo = folder + "fifo.desktop";
    ASSERT_TRUE(makeFifo(fifo));
    const QString zero = folder + "zero.desktop";
    ASSERT_TRUE(linkToDevZero(zero));

    CapturedLog log;
    DesktopEntryReader reader;
    for (int rescan = 0; rescan < 3; ++rescan) {
        for (const QString &path : {entry, large, fifo, zero}) {
            reader.listedTitle(path);
            DesktopEntryReader::nameAtPath(path);
            DesktopEntryReader::iconAtPath(path);
        }
    }
    const auto linesAbout = [&log](const QString &path) {
        return log.lines().filter("Exception reading file " + path + ": ").size();
    };
    EXPECT_EQ(linesAbout(entry), 0);
    EXPECT_EQ(linesAbout(large), 1);
    EXPECT_TRUE(logged(log, large, "FileTooLarge"));
    EXPECT_EQ(linesAbout(fifo), 1);
    EXPECT_TRUE(logged(log, fifo, "NotRegularFile"));
    EXPECT_EQ(linesAbout(zero), 1);
    EXPECT_TRUE(logged(log, zero, "NotRegularFile"));

    // Mended, then broken again: said again.
    write(large, "[Desktop Entry]\nType=Application\nName=Large\nExec=/bin/true\n");
    EXPECT_EQ(DesktopEntryReader::nameAtPath(large), "Large");
    write(large, QByteArray(int(BoundedFile::Limit::DesktopEntry) + 1, '#'));
    DesktopEntryReader::nameAtPath(large);
    DesktopEntryReader::nameAtPath(large);
    EXPECT_EQ(linesAbout(large), 2);
}
