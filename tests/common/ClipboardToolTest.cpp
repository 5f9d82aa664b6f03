#include "ClipboardList.h"
#include "ClipboardStore.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"
#include "TestEnvironment.h"
#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
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

// Another program owning the display's clipboard, with the text and, for a password manager,
// its mark; ends with the object.
class ClipboardOwner
{
public:
    explicit ClipboardOwner(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        mProcess.setProcessEnvironment(environment);
        mProcess.start(builtProgram("bin/korvale-test-clipboard-owner"), arguments);
        QByteArray said;
        const QDeadlineTimer deadline(20000);
        while (!said.contains("owner") && !deadline.hasExpired()
               && mProcess.state() != QProcess::NotRunning) {
            mProcess.waitForReadyRead(100);
            said += mProcess.readAllStandardOutput();
        }
        mOwns = said.contains("owner");
    }
    ~ClipboardOwner()
    {
        mProcess.kill();
        mProcess.waitForFinished(10000);
    }
    bool owns() const { return mOwns; }

private:
    QProcess mProcess;
    bool mOwns = false;
};

// Files that hold the text as it is, anywhere under the folder.
QStringList filesHolding(const QString &folder, const QByteArray &text)
{
    QStringList found;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text))
            found << file.fileName();
    }
    return found;
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

// What a password manager copies carries its mark: the tool keeps it nowhere and says why, while
// the same text without the mark is an entry like any other.
TEST(ClipboardTool, APasswordManagersSecretIsRefusedAndWrittenNowhere)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs a display: run under scripts/with-session.sh";
    TemporaryHome home;
    const ScopedEnvironment english{{"LANGUAGE", "en"}};
    QVariantList entries{ClipboardList::makeEntry("Kept", packedText("kept text"))};
    ClipboardStore().save(entries);
    const QByteArray secret = "Tr0ub4dor&3-horse-battery";
    ProgramRun run;
    {
        const ClipboardOwner passwordManager({QString::fromUtf8(secret), "--secret"});
        ASSERT_TRUE(passwordManager.owns());
        run = clipboardTool({"save", "My password"});
    }
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "korvale-clipboard: the clipboard holds a password manager's secret, "
              "which is never kept; nothing was saved\n");
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    const QVariantList saved = CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.at(0).toMap().value("T").toString(), "Kept");
    EXPECT_EQ(filesHolding(home.path(), secret), QStringList());

    {
        const ClipboardOwner editor({QString::fromUtf8(secret)});
        ASSERT_TRUE(editor.owns());
        run = clipboardTool({"save", "Unmarked"});
    }
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QVariantList after = CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(ClipboardList::textOf(after.at(1).toMap()), QString::fromUtf8(secret));
}
