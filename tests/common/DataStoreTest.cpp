#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <csignal>
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
        list.append(QVariantMap {{QStringLiteral("x"), 5},
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

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
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
    EXPECT_EQ(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(QStringLiteral("Notes.krvdata")),
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
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList {name});
}

TEST_F(DataStore, EmptyAndUnreadableFilesReadAsEmptyWithoutMessages)
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
    EXPECT_TRUE(line.startsWith(QStringLiteral("Exception reading file %1: ").arg(path))) << line.toStdString();

    const QStringList aside = QDir(home.dataFolder()).entryList({QStringLiteral("Notes.krvdata.*.damaged")});
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

TEST_F(DataStore, AListFileHoldingADictionaryIsTreatedAsDamaged)
{
    CapturedLog log;
    CommonKorvaleClass::saveDictionaryInFile({{QStringLiteral("k"), 1}}, DataFileName::ToDo);
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::ToDo).isEmpty());
    EXPECT_EQ(log.lines().size(), 1);
    EXPECT_EQ(QDir(home.dataFolder()).entryList({QStringLiteral("ToDo.krvdata.*.damaged")}).size(), 1);
}

TEST_F(DataStore, DictionariesPreferTheInstalledResource)
{
    QTemporaryDir resources;
    CommonKorvaleClass::setResourcesFolder(resources.path());
    CommonKorvaleClass::saveDictionaryInFile({{QStringLiteral("from"), QStringLiteral("data")}},
                                             QStringLiteral("Table.krvdata"));
    EXPECT_EQ(CommonKorvaleClass::readDictionaryInFile(QStringLiteral("Table.krvdata")).value(QStringLiteral("from")),
              QStringLiteral("data"));

    writeRaw(resources.path() + QStringLiteral("/Table.krvdata"),
             KorvaleArchive::encode(QVariantMap {{QStringLiteral("from"), QStringLiteral("resource")}}).bytes);
    EXPECT_EQ(CommonKorvaleClass::readDictionaryInFile(QStringLiteral("Table.krvdata")).value(QStringLiteral("from")),
              QStringLiteral("resource"));
    CommonKorvaleClass::setResourcesFolder({});
}

TEST_F(DataStore, AFailedSaveIsLoggedAndLeavesWhatWasThere)
{
    // A folder in the file's place cannot be replaced, even by root.
    const QString blocked = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(QStringLiteral("Blocked.krvdata"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    CapturedLog log;
    CommonKorvaleClass::saveListInFile(sampleList(5, QStringLiteral("new")), QStringLiteral("Blocked.krvdata"));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(QStringLiteral("Unable saving data in file %1").arg(blocked)));
    EXPECT_TRUE(QFileInfo::exists(blocked + QStringLiteral("/inside")));
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList()) << "the temporary file must not be left behind";
}

namespace {

// Waits until a temporary file of the given data file appears in the folder being watched.
bool waitForTemporaryFile(int inotifyFd, const QString &dataFile)
{
    const QByteArray prefix = QFile::encodeName(QLatin1Char('.') + dataFile + QStringLiteral(".tmp-"));
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

    const int rounds = 300;
    int killedMidSave = 0;
    for (int round = 0; round < rounds; ++round) {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(home.dataFolder()).constData(), IN_CREATE), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                CommonKorvaleClass::saveListInFile(i % 2 ? first : second, DataFileName::Notes);
        }
        // The kill lands at a random point between the temporary file's creation and a little
        // after the time a whole write takes.
        ASSERT_TRUE(waitForTemporaryFile(watch, DataFileName::Notes));
        ::usleep(useconds_t(QRandomGenerator::global()->bounded(writeMicroseconds + writeMicroseconds / 2)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(watch);
        killedMidSave += filesIn(home.dataFolder()).size() > 1;

        CapturedLog log;
        const QVariantList read = CommonKorvaleClass::readListInFile(DataFileName::Notes);
        ASSERT_TRUE(log.lines().isEmpty()) << "round " << round << ": " << log.lines().join('\n').toStdString();
        ASSERT_TRUE(read == first || read == second) << "round " << round << ": " << read.size() << " records";
    }
    EXPECT_GT(killedMidSave, 0) << "the kills did not land while the file was being written";

    CommonKorvaleClass::saveListInFile(first, DataFileName::Notes);
    EXPECT_EQ(filesIn(home.dataFolder()), QStringList {DataFileName::Notes});
}
