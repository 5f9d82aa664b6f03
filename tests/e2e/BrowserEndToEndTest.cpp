// korvale-browser on the real display: brought up by the agent's notification, driven by keys.
#include "E2eSupport.h"

#include "QOR_WindowsUtils.h"

#include "platform/DBusNotificationCenter.h"
#include "platform/NotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

// What the running browser shows, asked on the session bus; empty while it does not answer.
QVariantMap browserStatus()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Browser"), QStringLiteral("/org/korvale/Instance"),
        QStringLiteral("org.korvale.Instance"), QStringLiteral("Status"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return DBusNotificationCenter::fromWire(reply.arguments().first()).toMap();
}

class BrowserProcess
{
public:
    ~BrowserProcess()
    {
        if (mProcess.state() == QProcess::NotRunning)
            return;
        mProcess.terminate();
        if (!mProcess.waitForFinished(5000)) {
            mProcess.kill();
            mProcess.waitForFinished(2000);
        }
    }

    void start()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the browser needs the display
        environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        mProcess.setProcessEnvironment(environment);
        mProcess.setProcessChannelMode(QProcess::MergedChannels);
        mProcess.start(builtProgram(QStringLiteral("bin/korvale-browser")), {});
    }

    QString log() { return QString::fromUtf8(mProcess.readAll()); }
    bool hasEnded() const { return mProcess.state() == QProcess::NotRunning; }

private:
    QProcess mProcess;
};

QString statusText(const QVariantMap &status)
{
    QStringList lines;
    for (auto it = status.cbegin(); it != status.cend(); ++it)
        lines << it.key() + "=" + it.value().toStringList().join(",") + it.value().toString();
    return lines.join("; ");
}

} // namespace

TEST(BrowserEndToEnd, TheAgentsNoticeShowsAFolderWhoseFilesTheSheetRenames)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    const QString folder = home.path() + "/Holidays";
    QDir().mkpath(folder);
    for (const char *name : {"one.txt", "two.txt", "three.txt"}) {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name);
    }

    BrowserProcess browser;
    browser.start();
    ASSERT_TRUE(waitFor([] { return !browserStatus().isEmpty(); }, 20000))
        << browser.log().toStdString();

    // As the agent does it: a path and the access window's frame on the browser's channel, the
    // frame at the top of the screen, where the access window has no title bar but the browser
    // has.
    const std::unique_ptr<NotificationCenter> agent = NotificationCenter::createSessionBusCenter();
    ASSERT_TRUE(agent->isAvailable());
    ASSERT_TRUE(agent->post(NotificationChannel::Browser, QStringLiteral("PathToBrowser"),
                            {{QStringLiteral("Path"), folder},
                             {QStringLiteral("WindowFrame"), QStringLiteral("300 0 360 420")}}));
    ASSERT_TRUE(waitFor([&] {
        const QVariantMap status = browserStatus();
        return status.value("Root").toString() == folder && status.value("Visible").toBool()
            && status.value("Rows").toStringList()
            == QStringList({"one.txt", "three.txt", "two.txt"});
    })) << statusText(browserStatus()).toStdString();
    ASSERT_TRUE(waitFor([] { return activeWindowName() == "Korvale Browser"; }))
        << activeWindowName().toStdString();
    // The whole frame, title bar included, on the screen, once the window manager framed it.
    const QRect screen(QPoint(0, 0), screenSize());
    EXPECT_TRUE(waitFor([&] {
        const auto outer =
            QOR_WindowsUtils::parseFrameString(browserStatus().value("OuterFrame").toString());
        const auto inner =
            QOR_WindowsUtils::parseFrameString(browserStatus().value("Frame").toString());
        return outer && inner && *outer != *inner && screen.contains(*outer);
    })) << statusText(browserStatus()).toStdString();

    xdotool({"key", "--clearmodifiers", "ctrl+a"});
    ASSERT_TRUE(waitFor([] {
        return browserStatus().value("Selected").toStringList().size() == 3;
    })) << statusText(browserStatus()).toStdString();
    xdotool({"key", "--clearmodifiers", "ctrl+alt+r"});
    ASSERT_TRUE(waitFor([] { return browserStatus().value("Sheet").toString() == "renameSheet"; }))
        << statusText(browserStatus()).toStdString();
    // The scheme field has the focus with its text selected: typing replaces it.
    xdotool({"type", "--delay", "30", "trip_%X"});
    xdotool({"key", "Return"});

    const QStringList expected{"trip_001.txt", "trip_002.txt", "trip_003.txt"};
    EXPECT_TRUE(waitFor([&] {
        return QDir(folder).entryList(QDir::Files, QDir::Name) == expected;
    })) << QDir(folder).entryList(QDir::Files).join(",").toStdString();
    // In the outline's order: one, three, two.
    QFile first(folder + "/trip_002.txt");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), "three.txt");
    EXPECT_TRUE(waitFor(
        [] { return browserStatus().value("Rows").toStringList().first() == "trip_001.txt"; }));

    // Closing the window ends the program.
    xdotool({"key", "--clearmodifiers", "ctrl+q"});
    EXPECT_TRUE(waitFor([&] { return browser.hasEnded(); }));
}
