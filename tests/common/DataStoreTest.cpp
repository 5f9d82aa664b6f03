#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <csignal>
#include <ftw.h>
#include <functional>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString &path)
{
    struct stat st;
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

QVariantList sampleList(int count, const QString &tag)
{
    QVariantList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        list.append(QVariantMap{
            {QStringLiteral("x"), 5},
            {QStringLiteral("T"), QStringLiteral("%1 note %2").arg(tag).arg(i)},
            {QStringLiteral("t"), QStringLiteral("body of note %1 ").arg(i).repeated(4)}});
    }
    return list;
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What a save leaves, its lock file aside (it stays, by design).
QStringList filesIn(const QString &folder)
{
    QStringList files =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    files.removeIf([](const QString &name) { return name.endsWith(QLatin1String(".lock")); });
    return files;
}

} // namespace

class DataStore : public ::testing::Test
{
protected:
    TemporaryHome home;
};

TEST_F(DataStore, ReadingAMissingFileCreatesThePrivateFoldersAndGivesNothing)
{
    CapturedLog log;
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(QStringLiteral("Nothing.krvdata")).isEmpty());
    ASSERT_TRUE(QFileInfo(home.dataFolder()).isDir());
    EXPECT_EQ(modeOf(home.dataFolder()), 0700u);
    EXPECT_EQ(modeOf(QFileInfo(home.dataFolder()).path()), 0700u);
    EXPECT_EQ(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
                  QStringLiteral("Notes.krvdata")),
              home.dataFolder() + QStringLiteral("/Notes.krvdata"));
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(DataStore, SavesReplaceTheWholeFileAndKeepItsPermissions)
{
    const QString name = DataFileName::Notes;
    CommonKorvaleClass::saveListInFile(sampleList(500, QStringLiteral("long")), name);
    const QString path = home.dataFolder() + QLatin1Char('/') + name;
    EXPECT_EQ(modeOf(path), 0600u);

    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QVariantList shorter = sampleList(3, QStringLiteral("short"));
    CommonKorvaleClass::saveListInFile(shorter, name);
    EXPECT_EQ(modeOf(path), 0640u);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(name), shorter);
    // No temporary file is left behind.
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList{name});
}

TEST_F(DataStore, EmptyFilesReadAsEmptyWithoutMessages)
{
    CapturedLog log;
    CommonKorvaleClass::pathForDataFileInApplicationSupportFolder();
    writeRaw(home.dataFolder() + QStringLiteral("/Empty.krvdata"), {});
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(QStringLiteral("Empty.krvdata")).isEmpty());
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(home.dataFolder() + QStringLiteral("/Empty.krvdata")));
}

TEST_F(DataStore, DamagedFileIsKeptAsideBeforeAnySaveCanReplaceIt)
{
    CapturedLog log;
    CommonKorvaleClass::pathForDataFileInApplicationSupportFolder();
    const QString path = home.dataFolder() + QStringLiteral("/Notes.krvdata");
    const QByteArray damaged("\xd9\xd9\xf7\x9f garbage that used to be notes", 33);
    writeRaw(path, damaged);

    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::Notes).isEmpty());
    ASSERT_EQ(log.lines().size(), 1);
    const QString line = log.lines().first();
    EXPECT_TRUE(line.startsWith(QStringLiteral("Exception reading file %1: ").arg(path)))
        << line.toStdString();

    const QStringList aside =
        QDir(home.dataFolder()).entryList({QStringLiteral("Notes.krvdata.*.damaged")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(line.contains(aside.first()));
    QFile kept(home.dataFolder() + QLatin1Char('/') + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);

    // The next save writes a fresh file; the damaged bytes stay where they were put.
    CommonKorvaleClass::saveListInFile(sampleList(2, QStringLiteral("new")), DataFileName::Notes);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Notes).size(), 2);
    EXPECT_TRUE(QFileInfo::exists(home.dataFolder() + QLatin1Char('/') + aside.first()));
}

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int chownToNobody(const char *path, const struct stat *, int, struct FTW *)
{
    return ::lchown(path, 65534, 65534);
}

// Root reads a file of mode 000, a user does not: as root, the check runs in a child process
// that gives the temporary home to an unprivileged user and becomes that user. The check returns
// what went wrong, or nothing.
QString asUnprivilegedUser(const QString &home, const std::function<QString()> &check)
{
    if (::geteuid() != 0)
        return check();
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        QByteArray why;
        if (::nftw(QFile::encodeName(home).constData(), chownToNobody, 16, FTW_PHYS) != 0
            || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            why = "could not become an unprivileged user";
        else
            why = check().toUtf8();
        [[maybe_unused]] const ssize_t written =
            ::write(fds[1], why.constData(), size_t(why.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray why;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        why.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return QStringLiteral("the check's process died");
    return QString::fromUtf8(why);
}

} // namespace

// A list or the preferences that exist but cannot be opened (mode 000, another owner) read as
// empty; whatever is saved next must not replace them: they are reported and kept aside.
TEST_F(DataStore, AFileThatCannotBeReadIsReportedAndNeverSavedOver)
{
    const QString failure = asUnprivilegedUser(home.path(), [] {
        const QString notes =
            CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes);
        const QString todo =
            CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ToDo);
        CommonKorvaleClass::saveListInFile(sampleList(3, QStringLiteral("old")),
                                           DataFileName::Notes);
        CommonKorvaleClass::saveListInFile(sampleList(4, QStringLiteral("old")),
                                           DataFileName::ToDo);
        SharedPreferences prefs;
        prefs.setValue(QStringLiteral("FilesList"),
                       QVariantList{QStringLiteral("/home/u/Projects")});
        if (!prefs.synchronize())
            return QStringLiteral("preferences not written");
        const QByteArray oldNotes = bytesOf(notes);
        for (const QString &path : {notes, todo, prefs.path()})
            ::chmod(QFile::encodeName(path).constData(), 0);

        CapturedLog log;
        // Read first, then saved, as the agent does: reported and kept aside at the read.
        if (!CommonKorvaleClass::readListInFile(DataFileName::Notes).isEmpty())
            return QStringLiteral("an unreadable list read as something");
        if (log.lines().size() != 1 || !log.lines().first().contains(notes)
            || !log.lines().first().contains(QStringLiteral("Permission denied")))
            return QStringLiteral("the read was not reported once: ")
                + log.lines().join(QLatin1Char('|'));
        CommonKorvaleClass::saveListInFile(sampleList(1, QStringLiteral("new")),
                                           DataFileName::Notes);
        // Saved without a read first, as a tool does.
        CommonKorvaleClass::saveListInFile(sampleList(1, QStringLiteral("new")),
                                           DataFileName::ToDo);
        // The preferences: a read falls back to the defaults, the next write keeps the old file.
        SharedPreferences again;
        if (again.contains(QStringLiteral("FilesList")))
            return QStringLiteral("unreadable preferences read as something");
        again.setValue(QStringLiteral("ResetFilter"), 1);
        again.synchronize();

        for (const QString &path : {notes, todo, prefs.path()}) {
            const QFileInfo info(path);
            const QStringList aside = info.absoluteDir().entryList(
                {info.fileName() + QStringLiteral(".*.damaged")}, QDir::Files | QDir::System);
            if (aside.size() != 1)
                return QStringLiteral("%1 was not kept aside").arg(path);
            const QString kept = info.absolutePath() + QLatin1Char('/') + aside.first();
            ::chmod(QFile::encodeName(kept).constData(), 0600);
            if (path == notes && bytesOf(kept) != oldNotes)
                return QStringLiteral("the notes kept aside are not the old ones");
        }
        if (CommonKorvaleClass::readListInFile(DataFileName::Notes).size() != 1
            || CommonKorvaleClass::readListInFile(DataFileName::ToDo).size() != 1
            || SharedPreferences().intValue(QStringLiteral("ResetFilter")) != 1)
            return QStringLiteral("the new content was not saved");
        if (log.lines().size() != 3)
            return QStringLiteral("expected one line for each file: ")
                + log.lines().join(QLatin1Char('|'));
        return QString();
    });
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
}

// Users keep dotfiles and synced folders as links: a save replaces the file the link points to,
// and the link keeps working, for the lists and the preferences, also once its target was damaged.
TEST_F(DataStore, SavesWriteThroughSymbolicLinks)
{
    const QString synced = home.path() + QStringLiteral("/Sync/korvale");
    ASSERT_TRUE(QDir().mkpath(synced));
    const QString notes =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes);
    const QString target = synced + QStringLiteral("/Notes.krvdata");
    // A relative link to a link to the file.
    ASSERT_TRUE(QFile::link(target, synced + QStringLiteral("/current")));
    ASSERT_EQ(::symlink("../../../../Sync/korvale/current", QFile::encodeName(notes).constData()),
              0);
    writeRaw(target, KorvaleArchive::encode(sampleList(2, QStringLiteral("old"))).bytes);
    ::chmod(QFile::encodeName(target).constData(), 0640);

    ASSERT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Notes).size(), 2);
    CommonKorvaleClass::saveListInFile(sampleList(5, QStringLiteral("new")), DataFileName::Notes);
    EXPECT_TRUE(QFileInfo(notes).isSymLink());
    EXPECT_TRUE(QFileInfo(synced + QStringLiteral("/current")).isSymLink());
    EXPECT_EQ(ArchiveFile::readList(target).size(), 5);
    EXPECT_EQ(modeOf(target), mode_t(0640));
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList{DataFileName::Notes});

    // A damaged target goes aside beside itself; the next save recreates it through the links.
    CapturedLog log;
    writeRaw(target, "damaged");
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::Notes).isEmpty());
    EXPECT_EQ(QDir(synced).entryList({QStringLiteral("Notes.krvdata.*.damaged")}).size(), 1);
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::Notes).isEmpty());
    EXPECT_EQ(log.lines().size(), 1) << "a link to a file yet to be made reads as empty, silently";
    CommonKorvaleClass::saveListInFile(sampleList(1, QStringLiteral("new")), DataFileName::Notes);
    EXPECT_TRUE(QFileInfo(notes).isSymLink());
    EXPECT_EQ(ArchiveFile::readList(target).size(), 1);

    const QString prefsTarget = synced + QStringLiteral("/preferences.cbor");
    writeRaw(prefsTarget,
             KorvaleArchive::encode(QVariantMap{{QStringLiteral("ResetFilter"), 0}}).bytes);
    QDir().mkpath(QFileInfo(SharedPreferences::defaultPath()).absolutePath());
    ASSERT_TRUE(QFile::link(prefsTarget, SharedPreferences::defaultPath()));
    SharedPreferences prefs;
    prefs.setValue(QStringLiteral("ShortCutsActivated"), 1);
    ASSERT_TRUE(prefs.synchronize());
    EXPECT_TRUE(QFileInfo(SharedPreferences::defaultPath()).isSymLink());
    const QVariantMap stored = ArchiveFile::readDictionary(prefsTarget);
    EXPECT_EQ(stored.value(QStringLiteral("ShortCutsActivated")), 1);
    EXPECT_EQ(stored.value(QStringLiteral("ResetFilter")), 0);
}

TEST_F(DataStore, AListFileHoldingADictionaryIsTreatedAsDamaged)
{
    CapturedLog log;
    CommonKorvaleClass::saveDictionaryInFile({{QStringLiteral("k"), 1}}, DataFileName::ToDo);
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::ToDo).isEmpty());
    EXPECT_EQ(log.lines().size(), 1);
    EXPECT_EQ(QDir(home.dataFolder()).entryList({QStringLiteral("ToDo.krvdata.*.damaged")}).size(),
              1);
}

TEST_F(DataStore, DictionariesPreferTheInstalledResource)
{
    QTemporaryDir resources;
    CommonKorvaleClass::setResourcesFolder(resources.path());
    CommonKorvaleClass::saveDictionaryInFile({{QStringLiteral("from"), QStringLiteral("data")}},
                                             QStringLiteral("Table.krvdata"));
    EXPECT_EQ(CommonKorvaleClass::readDictionaryInFile(QStringLiteral("Table.krvdata"))
                  .value(QStringLiteral("from")),
              QStringLiteral("data"));

    writeRaw(
        resources.path() + QStringLiteral("/Table.krvdata"),
        KorvaleArchive::encode(QVariantMap{{QStringLiteral("from"), QStringLiteral("resource")}})
            .bytes);
    EXPECT_EQ(CommonKorvaleClass::readDictionaryInFile(QStringLiteral("Table.krvdata"))
                  .value(QStringLiteral("from")),
              QStringLiteral("resource"));
    CommonKorvaleClass::setResourcesFolder({});
}

TEST_F(DataStore, AFailedSaveIsLoggedAndLeavesWhatWasThere)
{
    // A folder in the file's place cannot be replaced, even by root.
    const QString blocked = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        QStringLiteral("Blocked.krvdata"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    CapturedLog log;
    CommonKorvaleClass::saveListInFile(sampleList(5, QStringLiteral("new")),
                                       QStringLiteral("Blocked.krvdata"));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(
        QStringLiteral("Unable saving data in file %1").arg(blocked)));
    EXPECT_TRUE(QFileInfo::exists(blocked + QStringLiteral("/inside")));
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList())
        << "the temporary file must not be left behind";
}

namespace {

// Waits until a temporary file of the given data file appears in the folder being watched.
bool waitForTemporaryFile(int inotifyFd, const QString &dataFile)
{
    const QByteArray prefix =
        QFile::encodeName(QLatin1Char('.') + dataFile + QStringLiteral(".tmp-"));
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->len > 0 && QByteArray(event->name).startsWith(prefix))
                return true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace

// A writer killed at any moment of writing leaves the whole old list or the whole new one,
// never a mix or a truncated file, and its leftovers are cleared by the next save.
TEST_F(DataStore, KillingAWriterMidSaveNeverTearsTheFile)
{
    const QVariantList first = sampleList(4000, QStringLiteral("A"));
    const QVariantList second = sampleList(3000, QStringLiteral("B"));
    CommonKorvaleClass::saveListInFile(first, DataFileName::Notes);
    const QString path = home.dataFolder() + QLatin1Char('/') + DataFileName::Notes;
    const QByteArray bytes = KorvaleArchive::encode(second).bytes;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(AtomicFile::write(path, bytes));
    const int writeMicroseconds = int(std::max<qint64>(timer.nsecsElapsed() / 1000, 200));

#ifdef KORVALE_SANITIZED
    const int rounds = 100;
#else
    const int rounds = 300;
#endif
    int killedMidSave = 0;
    for (int round = 0; round < rounds; ++round) {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(
            ::inotify_add_watch(watch, QFile::encodeName(home.dataFolder()).constData(), IN_CREATE),
            0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                CommonKorvaleClass::saveListInFile(i % 2 ? first : second, DataFileName::Notes);
        }
        // The kill lands at a random point between the temporary file's creation and a little
        // after the time a whole write takes.
        ASSERT_TRUE(waitForTemporaryFile(watch, DataFileName::Notes));
        ::usleep(useconds_t(
            QRandomGenerator::global()->bounded(writeMicroseconds + writeMicroseconds / 2)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(watch);
        killedMidSave += filesIn(home.dataFolder()).size() > 1;

        CapturedLog log;
        const QVariantList read = CommonKorvaleClass::readListInFile(DataFileName::Notes);
        ASSERT_TRUE(log.lines().isEmpty())
            << "round " << round << ": " << log.lines().join('\n').toStdString();
        ASSERT_TRUE(read == first || read == second)
            << "round " << round << ": " << read.size() << " records";
    }
    EXPECT_GT(killedMidSave, 0) << "the kills did not land while the file was being written";

    CommonKorvaleClass::saveListInFile(first, DataFileName::Notes);
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList{DataFileName::Notes});
}
