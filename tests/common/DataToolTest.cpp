#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString tool()
{
    return builtProgram(QStringLiteral("bin/korvale-data"));
}

QVariantList everyType()
{
    return {
        QVariantMap {{QStringLiteral("x"), 2},
                     {QStringLiteral("T"), QStringLiteral("Rapport “final” — été\t🎉")},
                     {QStringLiteral("P"), QStringLiteral("/home/u/Documents/rapport.odt")},
                     {QStringLiteral("D"), 0},
                     {QStringLiteral(">"), QByteArray::fromHex("00010000000000000000000000000080")},
                     {QStringLiteral("big"), qlonglong(1) << 40},
                     {QStringLiteral("real"), 2.0},
                     {QStringLiteral("tiny"), 1e-300},
                     {QStringLiteral("zero"), -0.0},
                     {QStringLiteral("Date"), QDateTime::fromMSecsSinceEpoch(1796776800123LL)},
                     {QStringLiteral("empty"), QString()}},
        QVariantList {QStringLiteral("nested"), QVariantList {}, QVariantMap {}},
        QString(),
    };
}

} // namespace

class DataTool : public ::testing::Test
{
protected:
    TemporaryHome home;
};

TEST_F(DataTool, DumpAndLoadRoundTripEveryValueType)
{
    CommonKorvaleClass::saveListInFile(everyType(), QStringLiteral("All.krvdata"));
    const ProgramRun dumped = runProgram(tool(), {QStringLiteral("dump"), QStringLiteral("All.krvdata")});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err.toStdString();
    EXPECT_TRUE(dumped.out.contains("\"$date\": \"2026-12-09T00:40:00.123Z"));
    EXPECT_TRUE(dumped.out.contains(".123Z\""));
    EXPECT_TRUE(dumped.out.contains("{\"$data\": \"AAEAAAAAAAAAAAAAAAAAgA==\"}"));
    EXPECT_TRUE(dumped.out.contains("\"zero\": -0.0")) << dumped.out.toStdString();
    EXPECT_FALSE(QJsonDocument::fromJson(dumped.out).isNull()) << "dump is not valid JSON";

    const QString copy = home.path() + QStringLiteral("/copy.krvdata");
    const ProgramRun loaded = runProgram(tool(), {QStringLiteral("load"), copy}, dumped.out);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err.toStdString();
    const QVariantList back = ArchiveFile::readList(copy);
    ASSERT_EQ(back.size(), 3);
    const QVariantMap record = back.first().toMap();
    const QVariantMap original = everyType().first().toMap();
    for (auto it = original.constBegin(); it != original.constEnd(); ++it) {
        EXPECT_EQ(record.value(it.key()).typeId(), it.value().typeId()) << it.key().toStdString();
        EXPECT_EQ(record.value(it.key()), it.value()) << it.key().toStdString();
        if (it.value().typeId() == QMetaType::Double) {
            EXPECT_EQ(std::signbit(record.value(it.key()).toDouble()), std::signbit(it.value().toDouble()));
        }
    }
    EXPECT_EQ(back.mid(1), everyType().mid(1));
}

TEST_F(DataTool, BadInputIsExplainedAndLeavesTheTargetUntouched)
{
    CommonKorvaleClass::saveListInFile({QStringLiteral("keep me")}, DataFileName::Notes);
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes);
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();

    for (const QByteArray &bad : {QByteArray("[1, 2"), QByteArray("\"just a string\""),
                                  QByteArray("[{\"$date\": \"yesterday\"}]"),
                                  QByteArray("[{\"$data\": \"***\"}]")}) {
        const ProgramRun run = runProgram(tool(), {QStringLiteral("load"), DataFileName::Notes}, bad);
        EXPECT_NE(run.exitCode, 0) << bad.toStdString();
        EXPECT_TRUE(run.err.startsWith("korvale-data: ")) << run.err.toStdString();
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
    }

    const ProgramRun missing = runProgram(tool(), {QStringLiteral("dump"), QStringLiteral("/nonexistent/x.krvdata")});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains("no such file"));

    QFile junk(home.path() + QStringLiteral("/junk"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("garbage");
    junk.close();
    const ProgramRun damaged = runProgram(tool(), {QStringLiteral("dump"), junk.fileName()});
    EXPECT_NE(damaged.exitCode, 0);
    EXPECT_TRUE(damaged.err.contains("not a readable data file"));
    EXPECT_TRUE(QFile::exists(junk.fileName())) << "dump must not move files aside";

    EXPECT_NE(runProgram(tool(), {QStringLiteral("frobnicate")}).exitCode, 0);
}

TEST_F(DataTool, PathNamesTheDataFolder)
{
    const ProgramRun run = runProgram(tool(), {QStringLiteral("path")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(run.out).trimmed(), home.dataFolder());
}

// A new user's first load of the preferences makes their folder; a damaged file that a load
// replaces is kept aside first, as before every other save; a hostile file is refused whole.
TEST_F(DataTool, LoadMakesFoldersKeepsDamagedFilesAndDumpSurvivesHostileFiles)
{
    const ProgramRun where = runProgram(tool(), {QStringLiteral("preferences")});
    const QString preferences = QString::fromUtf8(where.out).trimmed();
    ASSERT_FALSE(QFileInfo::exists(QFileInfo(preferences).absolutePath()));
    const ProgramRun first = runProgram(tool(), {QStringLiteral("load"), preferences}, "{\"ResetFilter\": 1}");
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(ArchiveFile::readDictionary(preferences).value(QStringLiteral("ResetFilter")), 1);

    const QString notes = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes);
    QFile damaged(notes);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xd9\xd9\xf7 not notes any more");
    damaged.close();
    const ProgramRun load = runProgram(tool(), {QStringLiteral("load"), DataFileName::Notes}, "[\"new\"]");
    ASSERT_EQ(load.exitCode, 0) << load.err.toStdString();
    EXPECT_TRUE(load.err.contains("kept aside")) << load.err.toStdString();
    const QStringList aside = QDir(home.dataFolder()).entryList({QStringLiteral("Notes.krvdata.*.damaged")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(home.dataFolder() + QLatin1Char('/') + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("\xd9\xd9\xf7 not notes any more"));
    EXPECT_EQ(ArchiveFile::readList(notes), QVariantList {QStringLiteral("new")});

    // 30 KB of nested dates, and JSON nested deeper than any archive may be.
    QFile hostile(home.path() + QStringLiteral("/nested.krvdata"));
    ASSERT_TRUE(hostile.open(QIODevice::WriteOnly));
    hostile.write(QByteArray(30000, char(0xc1)) + QByteArray(1, char(0x01)));
    hostile.close();
    const ProgramRun dump = runProgram(tool(), {QStringLiteral("dump"), hostile.fileName()});
    EXPECT_EQ(dump.exitCode, 1) << dump.err.toStdString();
    EXPECT_TRUE(dump.err.contains("not a readable data file"));
    const ProgramRun deep = runProgram(tool(), {QStringLiteral("load"), QStringLiteral("Deep.krvdata")},
                                       QByteArray(5000, '[') + QByteArray(5000, ']'));
    EXPECT_EQ(deep.exitCode, 1);
    EXPECT_TRUE(deep.err.contains("nesting too deep")) << deep.err.toStdString();
}
