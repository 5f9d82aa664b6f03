// The user's documents with the real agent: a new user who never opened the manager finds the
// documents folder and what lies deep in it, and what comes and goes there is followed.
#include "E2eSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

QString searchFiles(const QString &query)
{
    return QString::fromUtf8(
        runProgram(builtProgram("bin/korvale-search"), {"--type", "2", query}).out);
}

} // namespace

TEST(DocumentsEndToEnd, ANewUsersDocumentsAreFoundAndFollowed)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    const QString documents = QDir::homePath() + "/Documents";
    const QString invoice = documents + "/projects/2026/march/invoice-zorbl.pdf";
    touch(invoice);

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    // No preferences at all: the default files list, the documents folder's contents included.
    ASSERT_TRUE(waitFor([&] { return searchFiles("zorbl").contains(invoice); }, 30000))
        << searchFiles("zorbl").toStdString() << agent.log().toStdString();
    EXPECT_TRUE(searchFiles("Documents").contains("\t" + documents + "\n"))
        << searchFiles("Documents").toStdString();

    const QString receipt = documents + "/projects/receipt-zorbl.txt";
    touch(receipt);
    EXPECT_TRUE(waitFor([&] { return searchFiles("receipt zorbl").contains(receipt); }))
        << agent.log().toStdString();
    QFile::remove(invoice);
    EXPECT_TRUE(waitFor([&] { return !searchFiles("invoice zorbl").contains(invoice); }))
        << agent.log().toStdString();
}
