#include "SuiteModule.h"
#include "CryptoModuleInterface.h"
#include "KorvaleLog.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

// The suite's modules are found beside the program in the build tree; one that is missing, or
// lacks its entry point, is no entry and the log says why.
TEST(SuiteModule, FindsABuiltModuleBesideTheProgramAndSaysWhyOneIsMissing)
{
    QStringList log;
    KorvaleLog::setSink([&log](const QString &line) { log << line; });

    EXPECT_EQ(SuiteModule::entry("libkorvale-nothing.so", "korvaleNothing"), nullptr);
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().startsWith("libkorvale-nothing.so is not available"))
        << log.first().toStdString();

    if (QFile::exists(QCoreApplication::applicationDirPath() + "/libkorvale-web.so")) {
        EXPECT_NE(SuiteModule::entry("libkorvale-web.so", "korvaleWebModule"), nullptr);
        EXPECT_EQ(log.size(), 1);
        EXPECT_EQ(SuiteModule::entry("libkorvale-web.so", "korvaleNoSuchEntry"), nullptr);
        ASSERT_EQ(log.size(), 2);
        EXPECT_TRUE(log.last().contains("korvaleNoSuchEntry")) << log.last().toStdString();
    }
    KorvaleLog::setSink({});
}

// A module's table is taken only from the version of the suite that built it, once: another
// version's is refused with a line in the log, and a table linked in stands for the module.
TEST(SuiteModule, AVersionedTableIsTakenOnlyFromItsOwnVersionAndAskedForOnce)
{
    if (!QFile::exists(QCoreApplication::applicationDirPath() + "/libkorvale-crypto.so"))
        GTEST_SKIP() << "the crypto module is not built beside the tests";
    QStringList log;
    KorvaleLog::setSink([&log](const QString &line) { log << line; });

    SuiteModule::VersionedTable<KorvaleCryptoFunctions> own(
        "libkorvale-crypto.so", KORVALE_CRYPTO_MODULE_ENTRY, KORVALE_CRYPTO_VERSION);
    const KorvaleCryptoFunctions *table = own.get();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->version, KORVALE_CRYPTO_VERSION);
    EXPECT_EQ(own.get(), table);

    SuiteModule::VersionedTable<KorvaleCryptoFunctions> newer(
        "libkorvale-crypto.so", KORVALE_CRYPTO_MODULE_ENTRY, KORVALE_CRYPTO_VERSION + 1);
    EXPECT_EQ(newer.get(), nullptr);
    EXPECT_EQ(newer.get(), nullptr);
    EXPECT_EQ(log,
              QStringList{"libkorvale-crypto.so is not available: it belongs to another "
                          "version"});

    SuiteModule::VersionedTable<KorvaleCryptoFunctions> missing("libkorvale-nothing.so",
                                                                "korvaleNothing", 1);
    KorvaleCryptoFunctions linked{};
    linked.version = 1;
    missing.useLinked(&linked);
    EXPECT_EQ(missing.get(), &linked);
    EXPECT_EQ(log.size(), 1); // the linked table is used without looking for the module
    KorvaleLog::setSink({});
}
