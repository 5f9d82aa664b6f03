#pragma once

#include "MainController.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "platform/KeyMapSource.h"
#include "platform/NotificationCenter.h"
#include "platform/SessionPrograms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

// A manager in a temporary home, its notifications kept in a local centre, its agent a file that
// is recorded as started rather than run.
class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        mPreferences = std::make_unique<SharedPreferences>();
        mNotifications = NotificationCenter::createLocalCenter();
        mNotifications->observe(NotificationChannel::Daemon);
        QObject::connect(mNotifications.get(), &NotificationCenter::notificationReceived,
                         [this](const QString &, const QString &object, const QVariantMap &) {
                             mPosted << object;
                         });
        mDaemonPath = mHome.path() + "/suite/bin/korvale-daemon";
        QDir().mkpath(QFileInfo(mDaemonPath).path());
        QFile agent(mDaemonPath);
        agent.open(QIODevice::WriteOnly);
        agent.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                             | QFileDevice::ExeOwner);
    }

    std::unique_ptr<MainController> makeManager(const QString &version = QStringLiteral("1.0"))
    {
        MainController::Environment environment;
        environment.preferences = mPreferences.get();
        environment.notifications = mNotifications.get();
        environment.keyboard = &mKeyboard;
        environment.daemonPath = mDaemonPath;
        environment.programs = &mPrograms;
        environment.startProgram = [this](const QString &path) {
            mStarted << path;
            return true;
        };
        environment.interactive = false;
        environment.waylandSession = mWayland;
        // Never the machine's own devices: an empty folder unless a test brings its own.
        environment.keyboardDevices =
            mKeyboardDevices.value_or(EvdevDeviceDiscovery(mHome.path() + "/no-input"));
        environment.version = version;
        auto manager = std::make_unique<MainController>(environment);
        manager->awakeFromNib();
        return manager;
    }

    // Notifications arrive from the event loop, as another program's would.
    QStringList posted()
    {
        QCoreApplication::processEvents();
        return mPosted;
    }
    void clearPosted()
    {
        QCoreApplication::processEvents();
        mPosted.clear();
    }

    QString makeFile(const QString &relative, bool folder = false)
    {
        const QString path = mHome.path() + "/" + relative;
        QDir().mkpath(folder ? path : QFileInfo(path).path());
        if (!folder) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
        }
        return path;
    }

    TemporaryHome mHome;
    std::unique_ptr<SharedPreferences> mPreferences;
    std::unique_ptr<NotificationCenter> mNotifications;
    FakeKeyMapSource mKeyboard;
    FakeSessionPrograms mPrograms;
    QString mDaemonPath;
    QStringList mPosted;
    QStringList mStarted;
    bool mWayland = false;
    std::optional<EvdevDeviceDiscovery> mKeyboardDevices;
};
