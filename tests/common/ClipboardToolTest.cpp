#include "ClipboardList.h"
#include "ClipboardStore.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"
#include "TestEnvironment.h"
#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

QByteArray packedText(const QString &text)
{
    return PasteboardContents::pack(
        {{PasteboardContents::TypeString, QVariantMap{{"string", text}}}});
}

// The tool as a shell script runs it: on the session's display, not the tests' off-screen one.
ProgramRun clipboardTool(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(environment);
    process.start(builtProgram("bin/korvale-clipboard"), arguments);
    ProgramRun run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

TEST(ClipboardTool, AScriptSavesListsAndRestoresEntriesAndIsToldOfBadNumbers)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")
        || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "needs a session: run under scripts/with-session.sh";
    if (QStandardPaths::findExecutable("xclip").isEmpty())
        GTEST_SKIP() << "needs xclip (scripts/install-deps.sh)";
    TemporaryHome home;
    ClipboardStore seed;
    QVariantList entries{ClipboardList::makeEntry("Greeting", packedText("Hello,\tworld"))};
    seed.save(entries);

    const std::unique_ptr<NotificationCenter> listener =
        NotificationCenter::createSessionBusCenter();
    ASSERT_TRUE(listener->isAvailable()) << listener->why().toStdString();
    listener->observe(NotificationChannel::Daemon);
    listener->observe(NotificationChannel::Main);
    QStringList heard;
    QObject::connect(listener.get(), &NotificationCenter::notificationReceived,
                     [&](const QString &channel, const QString &object, const QVariantMap &) {
                         heard << channel + " " + object;
                     });

    ProgramRun run = clipboardTool({"list"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "1\tGreeting\tSTR\n");

    // The entry goes back on the clipboard, and is what the next save finds there.
    run = clipboardTool({"restore", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = clipboardTool({"save", "Another greeting"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "1\n") << "sorted by title, the new entry comes first";
    run = clipboardTool({"save", "Greeting"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "3\n");

    run = clipboardTool({"list"});
    EXPECT_EQ(run.out, "1\tAnother greeting\tSTR\n2\tGreeting\tSTR\n3\tGreeting\tSTR\n");
    const QVariantList saved = CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
    ASSERT_EQ(saved.size(), 3);
    EXPECT_EQ(saved.at(1), saved.at(2)) << "a duplicate is kept as it is";
    EXPECT_EQ(ClipboardList::textOf(saved.at(0).toMap()), "Hello, world");

    const QDeadlineTimer deadline(20000);
    while (heard.size() < 4 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(heard.count("KRV1_DaemonNotification SettingChanged"), 2);
    EXPECT_EQ(heard.count("KRV1_MainNotification ClipboardChanged"), 2);

    for (const QString &bad :
         {QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("two"), QStringLiteral("-1")}) {
        run = clipboardTool({"restore", bad});
        EXPECT_NE(run.exitCode, 0) << bad.toStdString();
        EXPECT_TRUE(run.err.startsWith("korvale-clipboard: ")) << run.err.toStdString();
    }
    EXPECT_EQ(clipboardTool({"restore", "4"}).err,
              "korvale-clipboard: no entry 4: the entries are numbered 1 to 3\n");
    EXPECT_EQ(clipboardTool({"restore", "two"}).exitCode, 2);
    EXPECT_EQ(clipboardTool({"save"}).exitCode, 2);
    EXPECT_EQ(clipboardTool({"remove", "1"}).exitCode, 2);

    // Another program takes the clipboard and leaves: the copy serving the entry has ended, and
    // an empty clipboard is not saved.
    QProcess other;
    other.start("xclip", {"-quiet", "-selection", "clipboard", "-i"});
    ASSERT_TRUE(other.waitForStarted(10000));
    other.write("taken");
    other.waitForBytesWritten(10000);
    other.closeWriteChannel();
    // xclip takes the clipboard once it has read its input: until then the entry is there.
    QByteArray onClipboard;
    const QDeadlineTimer takeover(20000);
    while (onClipboard != "taken" && !takeover.hasExpired()) {
        QProcess reader;
        reader.start("xclip", {"-o", "-selection", "clipboard"});
        reader.waitForFinished(10000);
        onClipboard = reader.readAllStandardOutput();
    }
    ASSERT_EQ(onClipboard, "taken");
    other.kill();
    other.waitForFinished(10000);
    run = clipboardTool({"save", "Nothing"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.err,
        "korvale-clipboard: the clipboard holds nothing that can be kept; nothing was saved\n");
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Clipboard).size(), 3);
}
