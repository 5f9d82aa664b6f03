#pragma once

#include "AccessWindowController.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "FoundItemsModel.h"
#include "ItemRecord.h"
#include "MainWindow.h"
#include "QOR_StringUtils.h"
#include "SearchController.h"
#include "SearchField.h"
#include "SelectionPresenter.h"
#include "SharedPreferences.h"
#include "TableView.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A clock the tests move by hand.
class SteppedClock : public DaemonClock
{
public:
    double now() const override { return mNow; }
    double mNow = 800000000.0;
};

inline bool waitFor(const std::function<bool()> &condition, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

inline void processEventsFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

inline QVariantMap record(int kind, const QString &title, const QVariantMap &more = {})
{
    QVariantMap map = more;
    map.insert(ItemRecord::KeyKind, kind);
    if (!title.isNull())
        map.insert(ItemRecord::KeyTitle, title);
    return map;
}

// An agent controller on a temporary home, a search engine over lists the test fills, and the
// access window's controller over both.
class AccessWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The menus' titles fill placeholders of the texts, not of the bare keys.
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        mPreferences = std::make_unique<SharedPreferences>(); // in the temporary home
        DaemonController::Environment environment;
        environment.preferences = mPreferences.get();
        environment.clock = &mClock;
        mDaemon = std::make_unique<DaemonController>(environment);
        mDaemon->readMainSettings();
        // An application list that is not empty keeps the scanning panel and the reload away.
        mApplications = {record(1, QStringLiteral("Mail"),
                                {{ItemRecord::KeyPath, QStringLiteral("/nowhere/mail.desktop")}})};
        mDaemon->lists().mListOfApplications = mApplications;
        mSearch = std::make_unique<SearchController>([this] {
            SearchSources sources;
            sources.applications = mApplications;
            sources.notes = mNotes;
            sources.files = mFiles;
            sources.contacts = mContacts;
            return sources;
        });
        mController = std::make_unique<AccessWindowController>(*mDaemon, mSearch.get(),
                                                               [this] { return mClock.mNow; });
    }

    void TearDown() override
    {
        mController.reset();
        mSearch.reset();
        mDaemon.reset();
    }

    // Runs a search for the text and waits until its list is published.
    void searchFor(const QString &text)
    {
        int published = 0;
        QMetaObject::Connection connection = QObject::connect(
            mSearch.get(), &SearchController::displayedListUpdated, [&published] { ++published; });
        if (field()->text() == text)
            mSearch->searchFieldModified(text);
        else
            field()->setText(text);
        EXPECT_TRUE(waitFor([&] { return published > 0 && !mSearch->isSearchRunning(); }));
        QObject::disconnect(connection);
        // A retry of a cancelled pass may publish once more.
        processEventsFor(30);
    }

    void openWindow()
    {
        mController->doOpenAccessWindow();
        waitFor([this] { return !mSearch->isSearchRunning(); });
        processEventsFor(20);
        // The offscreen platform activates every window it shows, the preview too; a desktop
        // leaves the access window active.
        mController->window()->activateWindow();
        processEventsFor(20);
    }

    // Where the keyboard focus is inside the access window.
    QWidget *focusInWindow() const { return mController->window()->focusWidget(); }

    // Moves the clock past the half second in which Return is ignored.
    void passReturnGuard() { mClock.mNow += 0.6; }

    SearchField *field() const { return mController->searchField(); }
    TableView *table() const { return mController->tableView(); }
    int rows() const { return mController->model()->rowCount(); }

    TemporaryHome mHome;
    SteppedClock mClock;
    std::unique_ptr<SharedPreferences> mPreferences;
    std::unique_ptr<DaemonController> mDaemon;
    QVariantList mApplications, mNotes, mFiles, mContacts;
    std::unique_ptr<SearchController> mSearch;
    std::unique_ptr<AccessWindowController> mController;
};
