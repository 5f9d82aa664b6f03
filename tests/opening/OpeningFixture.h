#pragma once

#include "ApplicationLauncher.h"
#include "ItemOpener.h"
#include "OpeningView.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "platform/FakeWorkspace.h"
#include "platform/MountTable.h"
#include "platform/NotificationCenter.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>

// Records what opening asks of the access window.
class RecordingView : public OpeningView
{
public:
    QString previewText(const QVariantMap &record) override
    {
        return record.value(QStringLiteral("t")).toString();
    }
    void showMessageForOpening(const QString &path) override { calls << "open:" + path; }
    void showMessageForFailedOpening(const QString &path, const QString &reason) override
    {
        calls << "failed:" + path;
        reasons << reason;
    }
    void showMessageForOpeningURL() override { calls << QStringLiteral("url"); }
    void showMessageForCopyingText() override { calls << QStringLiteral("copy"); }
    void showMessageWithText(const QString &key) override { calls << "text:" + key; }
    void closeAccessWindowAfter(int milliseconds) override
    {
        calls << "close:" + QString::number(milliseconds);
    }
    double accessWindowOpenedTime() const override { return openedTime; }
    QString accessWindowFrame() const override
    {
        return QStringLiteral("10 20 640 400 0 0 1920 1080 ");
    }
    void clearMenuBarMenu() override { calls << QStringLiteral("clearMenu"); }
    void openItemEditor(const QVariantMap &record) override
    {
        calls << "edit:" + record.value(QStringLiteral("T")).toString();
    }

    QStringList calls;
    QStringList reasons;
    double openedTime = 0;
};

class OpeningTest : public ::testing::Test
{
protected:
    OpeningTest()
    {
        mLauncher.setWatchTries(1, 1);
        mOpener = std::make_unique<ItemOpener>(environment());
    }

    ItemOpener::Environment environment()
    {
        ItemOpener::Environment env;
        env.workspace = &mWorkspace;
        env.launcher = &mLauncher;
        env.preferences = &mPreferences;
        env.notifications = mNotifications.get();
        env.view = &mView;
        env.recentItems = &mRecent;
        env.menuOpenedItems = &mMenuOpened;
        env.applications = [this] { return mApplications; };
        env.optionKeyDown = [this] { return mOptionDown; };
        env.now = [this] { return mNow; };
        env.browserProgram = mHome.path() + QStringLiteral("/bin/korvale-browser");
        env.copyPlainText = [this](const QString &text) { mCopied << text; };
        env.writeClipboardEntry = [this](const QByteArray &packed) {
            mWrittenEntries << packed;
            return !packed.isEmpty();
        };
        env.mounts = [this] { return mMounts; };
        return env;
    }

    // A file that exists, for the kinds that are opened through their path.
    QString makeFile(const QString &relativePath, const QByteArray &contents = "x")
    {
        const QString path = mHome.path() + QLatin1Char('/') + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return path;
    }

    static QVariantMap record(int kind, const QString &key, const QString &value,
                              const QVariantMap &more = {})
    {
        QVariantMap result = more;
        result.insert(QStringLiteral("x"), kind);
        result.insert(key, value);
        return result;
    }
    static QVariantMap note(const QString &title, const QString &text, int kind = 5)
    {
        return {
            {QStringLiteral("x"), kind}, {QStringLiteral("T"), title}, {QStringLiteral("t"), text}};
    }

    TemporaryHome mHome;
    SharedPreferences mPreferences;
    FakeWorkspace mWorkspace;
    ApplicationLauncher mLauncher{mWorkspace};
    std::unique_ptr<NotificationCenter> mNotifications = NotificationCenter::createLocalCenter();
    RecordingView mView;
    QVariantList mRecent;
    QVariantList mMenuOpened;
    QVariantList mApplications;
    bool mOptionDown = false;
    double mNow = 1000;
    QStringList mCopied;
    QList<QByteArray> mWrittenEntries;
    // This machine's mounts; a test adds the ones it simulates.
    QList<MountTable::Mount> mMounts = MountTable::mounts();
    std::unique_ptr<ItemOpener> mOpener;
};
