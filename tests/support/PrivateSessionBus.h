#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

// A D-Bus session bus of the test's own, started with the environment of the moment (the
// temporary home of a TemporaryHome made before it), so that the services it starts on demand
// (Evolution Data Server's) keep their data there. The process uses it from the construction
// on: make it before anything connects to the session bus. Stopped, with the services it
// started, when the object goes.
class PrivateSessionBus
{
public:
    // `withServices`: the services installed on the system can be started on demand; without,
    // none can.
    explicit PrivateSessionBus(bool withServices)
    {
        const QString config = mDir.filePath(QStringLiteral("bus.conf"));
        const QString socket = mDir.filePath(QStringLiteral("bus"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                   "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:path="
                   + socket.toUtf8() + "</listen>"
                   + (withServices ? "<standard_session_servicedirs/>" : "")
                   + "<policy context=\"default\"><allow send_destination=\"*\" "
                     "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                     "</policy></busconfig>\n");
        file.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // GSettings of the services in memory: nothing of the real user's dconf.
        environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        mDaemon.setProcessEnvironment(environment);
        // The services started inherit these: a pipe nobody reads would stop them once full.
        mDaemon.setStandardOutputFile(QProcess::nullDevice());
        mDaemon.setStandardErrorFile(QProcess::nullDevice());
        mDaemon.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork")});
        if (!mDaemon.waitForStarted(10000)
            || !QTest::qWaitFor([&socket] { return QFileInfo::exists(socket); }, 10000))
            return;
        mAddress = "unix:path=" + QFile::encodeName(socket);
        setenv("DBUS_SESSION_BUS_ADDRESS", mAddress.constData(), 1);
    }
    ~PrivateSessionBus()
    {
        mDaemon.terminate();
        mDaemon.waitForFinished(5000);
    }
    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    bool isRunning() const { return !mAddress.isEmpty(); }

private:
    QTemporaryDir mDir;
    QProcess mDaemon;
    QByteArray mAddress;
};
