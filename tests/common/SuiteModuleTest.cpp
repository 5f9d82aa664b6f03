#include "SuiteModule.h"
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
