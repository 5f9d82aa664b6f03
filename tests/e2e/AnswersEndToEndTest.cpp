// The real agent answers a calculation typed into its field, loading the calculator only then.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

bool mapsCalculator(qint64 pid)
{
    const QStringList files = mappedFiles(pid);
    return std::any_of(files.cbegin(), files.cend(), [](const QString &file) {
        return file.contains(QLatin1String("libqalculate"));
    });
}

QString clipboardText()
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
    return xclip.waitForFinished(5000) ? QString::fromUtf8(xclip.readAllStandardOutput())
                                       : QString();
}

} // namespace

TEST(AnswersEndToEnd, TheAgentAnswersArithmeticFirstAndReturnCopiesIt)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    AgentProcess agent;
    agent.start({QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_ALL=en_US.UTF-8")});
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    // The first scan's panel holds the keys while it lists the applications.
    ASSERT_TRUE(waitFor(
        [] {
            return QFile::exists(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
                DataFileName::Applications));
        },
        30000));
    ASSERT_TRUE(callAccessWindow(QStringLiteral("Open")));
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }));
    QElapsedTimer seenOpen;
    seenOpen.start();
    // Typed to, but nothing that may be a calculation: the calculator stays out.
    xdotool({"type", "--delay", "40", "zz"});
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("query").toString() == "zz"; }));
    EXPECT_FALSE(mapsCalculator(agent.pid()));

    xdotool({"key", "BackSpace", "BackSpace"});
    xdotool({"type", "--delay", "40", "2+3*4"});
    ASSERT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        const QStringList titles = state.value("titles").toStringList();
        return state.value("query").toString() == "2+3*4" && !titles.isEmpty()
            && titles.first() == "14";
    })) << accessWindowState().value("titles").toStringList().join(", ").toStdString()
        << "\n"
        << agent.log().toStdString();
    EXPECT_TRUE(mapsCalculator(agent.pid()));

    // The window ignores Return for half a second after it opened (the gesture's own keys).
    EXPECT_TRUE(waitFor([&seenOpen] { return seenOpen.elapsed() > 500; }));
    xdotool({"key", "Return"});
    EXPECT_TRUE(waitFor([] { return clipboardText() == "14"; })) << clipboardText().toStdString();
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }))
        << agent.log().toStdString();
}
