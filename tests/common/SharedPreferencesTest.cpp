#include "SharedPreferences.h"

#include "KorvaleArchive.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList damagedCopies(const QString &path)
{
    const QFileInfo info(path);
    return info.absoluteDir().entryList({info.fileName() + QStringLiteral(".*.damaged")});
}

} // namespace

TEST(SharedPreferences, StagedValuesAreVisibleAndReachTheFileOnSynchronize)
{
    TemporaryHome home;
    SharedPreferences writer;
    EXPECT_EQ(writer.path(), home.configFolder() + QStringLiteral("/preferences.cbor"));
    writer.setValue(QStringLiteral("PriorityForNotes"), 3);
    EXPECT_EQ(writer.intValue(QStringLiteral("PriorityForNotes")), 3);
    EXPECT_FALSE(QFile::exists(writer.path()));

    ASSERT_TRUE(writer.synchronize());
    SharedPreferences reader;
    EXPECT_EQ(reader.intValue(QStringLiteral("PriorityForNotes")), 3);

    writer.removeValue(QStringLiteral("PriorityForNotes"));
    EXPECT_FALSE(writer.contains(QStringLiteral("PriorityForNotes")));
    ASSERT_TRUE(writer.synchronize());
    EXPECT_FALSE(reader.contains(QStringLiteral("PriorityForNotes")));
    EXPECT_EQ(QFileInfo(writer.path()).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
}

TEST(SharedPreferences, ReaderSeesAnotherWriterOnlyAfterTheFileMoves)
{
    TemporaryHome home;
    SharedPreferences agent;
    SharedPreferences manager;
    agent.setValue(QStringLiteral("LastItemsLaunched"), QVariantList{QVariantMap{{"T", "a"}}});
    ASSERT_TRUE(agent.synchronize());
    manager.setValue(QStringLiteral("FilesList"), QVariantList{QVariantMap{{"x", 2}}});
    ASSERT_TRUE(manager.synchronize());

    // Each keeps the other's key.
    EXPECT_TRUE(agent.contains(QStringLiteral("FilesList")));
    EXPECT_TRUE(manager.contains(QStringLiteral("LastItemsLaunched")));

    agent.setValue(QStringLiteral("FilesListRescan"), 0);
    manager.setValue(QStringLiteral("FilesListRescan"), 1);
    ASSERT_TRUE(manager.synchronize());
    ASSERT_TRUE(agent.synchronize()); // the later write of the same key wins
    EXPECT_EQ(manager.intValue(QStringLiteral("FilesListRescan")), 0);
}

TEST(SharedPreferences, ValuesOfTheWrongTypeReadAsAbsent)
{
    TemporaryHome home;
    SharedPreferences prefs;
    prefs.setValue(QStringLiteral("A"), QStringLiteral("5"));
    prefs.setValue(QStringLiteral("B"), true);
    prefs.setValue(QStringLiteral("C"), qlonglong(1) << 40);
    prefs.setValue(QStringLiteral("D"), 7);
    ASSERT_TRUE(prefs.synchronize());
    SharedPreferences reader;
    // Integers: one rule for every reader (whole numbers however written, nothing else).
    EXPECT_EQ(reader.intValue(QStringLiteral("A")), 5);
    EXPECT_EQ(reader.stringValue(QStringLiteral("A")), QStringLiteral("5"));
    EXPECT_EQ(reader.intValue(QStringLiteral("B")), 1);
    EXPECT_FALSE(reader.intValue(QStringLiteral("C")));
    const std::pair<QVariant, std::optional<int>> cases[] = {{QStringLiteral(" -3 "), -3},
                                                             {QStringLiteral("1"), 1},
                                                             {QStringLiteral("yes"), {}},
                                                             {QStringLiteral("1.0"), {}},
                                                             {QStringLiteral("0x1"), {}},
                                                             {QStringLiteral(""), {}},
                                                             {2.0, 2},
                                                             {2.5, {}},
                                                             {qQNaN(), {}},
                                                             {1e12, {}},
                                                             {false, 0},
                                                             {QVariantList{1}, {}},
                                                             {QByteArray("1"), {}},
                                                             {quint64(1) << 63, {}},
                                                             {QVariant(), {}}};
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(SharedPreferences::integerOf(value), expected) << value.toString().toStdString();
    EXPECT_FALSE(reader.listValue(QStringLiteral("D")));
    EXPECT_FALSE(reader.dataValue(QStringLiteral("D")));
}

TEST(SharedPreferences, DamagedFileIsKeptAsideLoggedOnceAndReadAsEmpty)
{
    TemporaryHome home;
    CapturedLog log;
    const QString path = SharedPreferences::defaultPath();
    writeRaw(path, QByteArray("\xd9\xd9\xf7\xbf garbage", 12));

    SharedPreferences prefs;
    EXPECT_FALSE(prefs.intValue(QStringLiteral("ResetFilter")));
    EXPECT_FALSE(prefs.contains(QStringLiteral("x")));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains(path));
    ASSERT_EQ(damagedCopies(path).size(), 1);
    const QByteArray kept = [&] {
        QFile f(QFileInfo(path).absolutePath() + QLatin1Char('/') + damagedCopies(path).first());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_EQ(kept, QByteArray("\xd9\xd9\xf7\xbf garbage", 12));

    prefs.setValue(QStringLiteral("ResetFilter"), 0);
    ASSERT_TRUE(prefs.synchronize());
    EXPECT_EQ(SharedPreferences().intValue(QStringLiteral("ResetFilter")), 0);
    // The folder the test made 0755 is closed and said so; the damage is not said again.
    EXPECT_EQ(log.lines().filter(path).size(), 1);
}

TEST(SharedPreferences, FileOfAnotherShapeIsTreatedAsDamaged)
{
    TemporaryHome home;
    CapturedLog log;
    const QString path = SharedPreferences::defaultPath();
    writeRaw(path, KorvaleArchive::encode(QVariantList{1, 2}).bytes);
    SharedPreferences prefs;
    EXPECT_TRUE(prefs.dictionaryRepresentation().isEmpty());
    EXPECT_EQ(log.lines().size(), 1);
    EXPECT_EQ(damagedCopies(path).size(), 1);
}

TEST(SharedPreferences, FileRemovedWhileRunningReadsAsEmptyAndWritesRecreateIt)
{
    TemporaryHome home;
    SharedPreferences prefs;
    prefs.setValue(QStringLiteral("ShowInvisible"), 1);
    ASSERT_TRUE(prefs.synchronize());
    ASSERT_TRUE(QFile::remove(prefs.path()));
    EXPECT_FALSE(prefs.contains(QStringLiteral("ShowInvisible")));
    prefs.setValue(QStringLiteral("ResetFilter"), 1);
    ASSERT_TRUE(prefs.synchronize());
    EXPECT_EQ(SharedPreferences().dictionaryRepresentation().keys(), QStringList{"ResetFilter"});
}

TEST(SharedPreferences, DropCacheRereadsEvenWhenTheStampLooksTheSame)
{
    TemporaryHome home;
    SharedPreferences prefs;
    prefs.setValue(QStringLiteral("K"), 1);
    ASSERT_TRUE(prefs.synchronize());
    const QFileInfo before(prefs.path());
    // Same size, same modification time, same inode: only dropCache() can see the change.
    QFile file(prefs.path());
    const QByteArray bytes = KorvaleArchive::encode(QVariantMap{{"K", 2}}).bytes;
    ASSERT_EQ(bytes.size(), before.size());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write(bytes);
    file.setFileTime(before.lastModified(), QFileDevice::FileModificationTime);
    file.close();
    prefs.dropCache();
    EXPECT_EQ(prefs.intValue(QStringLiteral("K")), 2);
}

// Two processes merging their own keys into the same file at the same time: no key is lost.
TEST(SharedPreferences, ConcurrentWritersOfDifferentKeysLoseNothing)
{
    TemporaryHome home;
#ifdef KORVALE_SANITIZED
    constexpr int kWrites = 300;
#else
    constexpr int kWrites = 1000;
#endif
    const QString path = SharedPreferences::defaultPath();
    auto writeKeys = [&path](const QString &prefix) {
        SharedPreferences prefs(path);
        for (int i = 0; i < kWrites; ++i) {
            prefs.setValue(prefix + QString::number(i % 60), i);
            prefs.setValue(prefix + QStringLiteral("once") + QString::number(i), i);
            if (!prefs.synchronize())
                return false;
        }
        return true;
    };

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(writeKeys(QStringLiteral("child/")) ? 0 : 1);
    const bool parentWrote = writeKeys(QStringLiteral("parent/"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(parentWrote);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const QVariantMap all = SharedPreferences(path).dictionaryRepresentation();
    EXPECT_EQ(all.size(), 2 * (kWrites + 60));
    for (const QString &prefix : {QStringLiteral("child/"), QStringLiteral("parent/")}) {
        for (int i = 0; i < kWrites; ++i)
            ASSERT_EQ(all.value(prefix + QStringLiteral("once") + QString::number(i)).toInt(), i)
                << prefix.toStdString() << i;
        for (int k = 0; k < 60; ++k)
            EXPECT_EQ(all.value(prefix + QString::number(k)).toInt(),
                      (kWrites - 1 - k) / 60 * 60 + k);
    }
}
