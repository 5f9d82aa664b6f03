#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>

#include <gtest/gtest.h>

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
