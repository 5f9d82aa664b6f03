#include "AccessWindowTestFixture.h"

#include "ApplicationLauncher.h"
#include "ItemOpener.h"
#include "QOR_StringUtils.h"
#include "ScanningPanel.h"
#include "SelectionPresenter.h"
#include "platform/FakeWorkspace.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QVariantList notes(int count)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list.append(record(5, QStringLiteral("Note %1").arg(i, 2, 10, QLatin1Char('0')),
                           {{ItemRecord::KeyText, QStringLiteral("text %1").arg(i)}}));
    return list;
}

TEST_F(AccessWindowTest, ReopeningWithOneToTwentyResultsShowsThemWithoutSearching)
{
    mNotes = notes(11); // and the one application: 12 results
    openWindow();
    ASSERT_EQ(rows(), 12);
    mController->doCloseAccessWindow();

    QSignalSpy searches(mSearch.get(), &SearchController::searchRequested);
    openWindow();
    EXPECT_EQ(searches.count(), 0);
    EXPECT_EQ(rows(), 12);
    EXPECT_TRUE(mController->isWindowVisible());

    mNotes = notes(24);
    searchFor(QString());
    ASSERT_EQ(rows(), 25);
    mController->doCloseAccessWindow();
    searches.clear();
    openWindow();
    EXPECT_EQ(searches.count(), 1) << "more than 20 results are searched again";
}

TEST_F(AccessWindowTest, TheWindowIsBuiltAtItsFirstOpeningWithTheResultsFoundBefore)
{
    mNotes = notes(3);
    int published = 0;
    QObject::connect(mSearch.get(), &SearchController::displayedListUpdated,
                     [&published] { ++published; });
    mSearch->searchFieldModified(QString());
    waitFor([&] { return published > 0 && !mSearch->isSearchRunning(); });
    mController->hideAgent();
    mController->finishClosing();
    EXPECT_EQ(mController->builtWindow(), nullptr);
    EXPECT_EQ(mController->searchText(), QString());

    QSignalSpy searches(mSearch.get(), &SearchController::searchRequested);
    openWindow();
    ASSERT_NE(mController->builtWindow(), nullptr);
    EXPECT_TRUE(mController->builtWindow()->isVisible());
    EXPECT_EQ(searches.count(), 0) << "the four results are shown again";
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(table()->selectedRow(), 0);
}

TEST_F(AccessWindowTest, ReopeningAfterTheFilterWasResetSearchesAgain)
{
    mNotes = notes(3);
    openWindow();
    mSearch->groupChanged(5);
    waitFor([this] { return !mSearch->isSearchRunning(); });
    processEventsFor(30);
    ASSERT_EQ(rows(), 3);
    mController->doCloseAccessWindow();

    QSignalSpy searches(mSearch.get(), &SearchController::searchRequested);
    openWindow();
    EXPECT_EQ(mSearch->typeForSearch(), 0) << "ResetFilter is on by default";
    EXPECT_EQ(searches.count(), 1);
    EXPECT_EQ(rows(), 4);
}

TEST_F(AccessWindowTest, ReturnWithinHalfASecondOfOpeningOpensNothing)
{
    mNotes = notes(1);
    FakeWorkspace workspace;
    ApplicationLauncher launcher(workspace);
    QStringList copied;
    ItemOpener::Environment environment;
    environment.workspace = &workspace;
    environment.launcher = &launcher;
    environment.preferences = mPreferences.get();
    environment.notifications = &mDaemon->notifications();
    environment.view = mController.get();
    environment.recentItems = &mDaemon->lists().mLatestItems;
    environment.menuOpenedItems = &mDaemon->lists().mLatestItemsFromPopupContents;
    environment.applications = [this] { return mApplications; };
    environment.optionKeyDown = [] { return false; };
    environment.now = [this] { return mClock.mNow; };
    environment.copyPlainText = [&copied](const QString &text) { copied.append(text); };
    ItemOpener opener(environment);
    mController->setItemOpener(&opener);

    openWindow();
    searchFor(QStringLiteral("note 00"));
    ASSERT_EQ(rows(), 1);
    mClock.mNow += 0.4;
    EXPECT_TRUE(mController->isReturnGuarded());
    QTest::keyClick(field(), Qt::Key_Return);
    QTest::keyClick(table(), Qt::Key_Return);
    processEventsFor(50);
    EXPECT_TRUE(copied.isEmpty());
    EXPECT_TRUE(field()->recentSearches().isEmpty()) << "the ignored Return records nothing";

    mClock.mNow += 0.2;
    EXPECT_FALSE(mController->isReturnGuarded());
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(copied.size(), 1);
    EXPECT_EQ(field()->recentSearches(), QStringList{QStringLiteral("note 00")});
    EXPECT_TRUE(waitFor([this] { return !mController->isWindowVisible(); }))
        << "opening closes the window shortly after";
}

TEST_F(AccessWindowTest, CounterLineAndEmptyListText)
{
    mNotes = notes(11);
    openWindow();
    EXPECT_EQ(mController->window()->counterLine()->text(), QStringLiteral("12"));
    searchFor(QStringLiteral("note 1"));
    EXPECT_EQ(rows(), 2); // Note 01 and Note 10
    EXPECT_EQ(mController->window()->counterLine()->text(), QStringLiteral("2 / 12"));

    searchFor(QStringLiteral("nothing like this"));
    ASSERT_EQ(rows(), 0);
    EXPECT_EQ(mController->window()->counterLine()->text(), QStringLiteral("0 / 12"));
    EXPECT_FALSE(mController->selectionPresenter()->isPreviewVisible());

    // The empty-list text is drawn in its place, a quarter down the visible table.
    const QRect textRect = table()->emptyTextRect();
    EXPECT_NEAR(textRect.center().y(), table()->viewport()->height() / 4, 1);
    const QImage image = table()->viewport()->grab().toImage();
    const QColor base = image.pixelColor(2, image.height() - 3);
    int inked = 0;
    for (int y = textRect.top(); y <= textRect.bottom(); ++y) {
        for (int x = textRect.left(); x <= textRect.right(); x += 2)
            inked += image.pixelColor(x, y) != base;
    }
    EXPECT_GT(inked, 20) << "NoResultAvailable is drawn";

    searchFor(QStringLiteral("note"));
    const QImage withRows = table()->viewport()->grab().toImage();
    EXPECT_NE(withRows, image);
}

TEST_F(AccessWindowTest, ScanningPanelWhileTheApplicationListIsEmpty)
{
    mDaemon->lists().mListOfApplications.clear();
    openWindow();
    EXPECT_TRUE(mController->scanningPanel()->isVisible());
    mController->doCloseAccessWindow();
    EXPECT_FALSE(mController->scanningPanel()->isVisible());

    mDaemon->lists().mListOfApplications.clear();
    openWindow();
    mController->doCloseAccessWindow();
    mSearch->groupChanged(5);
    mDaemon->preferences().setValue(QStringLiteral("ResetFilter"), 0);
    mDaemon->readMainSettings();
    mDaemon->lists().mListOfApplications.clear();
    openWindow();
    EXPECT_EQ(mSearch->typeForSearch(), 5);
    EXPECT_FALSE(mController->scanningPanel()->isVisible()) << "notes need no applications";
}

TEST_F(AccessWindowTest, ClosingFadesClearsTheFlagsAndHidesTheAgentLater)
{
    QSignalSpy hidden(mController.get(), &AccessWindowController::agentHidden);
    openWindow();
    EXPECT_TRUE(mDaemon->flags().mWindowVisible);
    mController->window()->move(140, 120);
    mController->doCloseAccessWindow();
    EXPECT_FALSE(mController->isWindowVisible());
    EXPECT_FALSE(mDaemon->flags().mWindowVisible);
    EXPECT_EQ(hidden.count(), 0);
    EXPECT_TRUE(waitFor([&] { return hidden.count() == 1; }, 2000));
    EXPECT_FALSE(mController->window()->isVisible());

    // The frame is kept for the next start.
    const auto frame = MainWindow::parseFrameString(
        mPreferences->stringValue(MainWindow::FrameKey).value_or(QString()));
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->topLeft(), QPoint(140, 120));
    MainWindow again(mPreferences.get());
    EXPECT_EQ(again.geometry(), *frame);
}

TEST_F(AccessWindowTest, ShowKeysDetectionKeepsTheAgentFromHiding)
{
    mPreferences->setValue(QStringLiteral("ShowKeysDetection"), 1);
    mPreferences->synchronize();
    mDaemon->readMainSettings();
    QSignalSpy hidden(mController.get(), &AccessWindowController::agentHidden);
    openWindow();
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_FALSE(mController->isWindowVisible());
    processEventsFor(AccessWindowController::HideAgentDelayMs + 200);
    EXPECT_EQ(hidden.count(), 0);
}

TEST_F(AccessWindowTest, ReopeningSoonAfterClosingKeepsTheWindow)
{
    openWindow();
    mController->doCloseAccessWindow();
    processEventsFor(100);
    openWindow();
    processEventsFor(1300); // past the fade and the delayed hiding of the closing before
    EXPECT_TRUE(mController->window()->isVisible());
    EXPECT_TRUE(mController->isWindowVisible());
    EXPECT_EQ(mController->window()->windowOpacity(), 1.0);
}

TEST_F(AccessWindowTest, ActionMenuFollowsTheSelection)
{
    mNotes = {record(5, QStringLiteral("Groceries"))};
    openWindow();
    AccessMenus *menus = mController->window()->menus();
    searchFor(QStringLiteral("mail"));
    EXPECT_EQ(
        menus->action(AccessMenus::Entry::OpenItem)->text(),
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("PopupMenuOpenApplication")));
    EXPECT_TRUE(menus->action(AccessMenus::Entry::RevealItem)->isEnabled());
    searchFor(QStringLiteral("groceries"));
    EXPECT_EQ(menus->action(AccessMenus::Entry::OpenItem)->text(),
              QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("PopupMenuOpenCopy")));
    EXPECT_FALSE(menus->action(AccessMenus::Entry::RevealItem)->isEnabled());
    EXPECT_FALSE(menus->action(AccessMenus::Entry::SendEmail)->isEnabled());
    EXPECT_FALSE(mController->window()->emailButton()->isVisible());
    searchFor(QStringLiteral("nothing like this"));
    EXPECT_FALSE(menus->action(AccessMenus::Entry::OpenItem)->isEnabled());

    // A contact's e-mail entry names the first address, the second line when the first is empty.
    mContacts = {
        record(4, QStringLiteral("Zoe"),
               {{ItemRecord::KeyEmail, QStringLiteral("\nzoe@example.org\nold@example.org")}}),
        record(4, QStringLiteral("Zack"))};
    searchFor(QStringLiteral("zoe"));
    QAction *email = menus->action(AccessMenus::Entry::SendEmail);
    EXPECT_TRUE(email->isEnabled());
    EXPECT_TRUE(email->text().contains(QStringLiteral("zoe@example.org")))
        << email->text().toStdString();
    EXPECT_TRUE(mController->window()->emailButton()->isVisibleTo(mController->window()));
    EXPECT_FALSE(menus->action(AccessMenus::Entry::RevealItem)->isEnabled());
    searchFor(QStringLiteral("zack"));
    EXPECT_FALSE(email->isEnabled());
    EXPECT_FALSE(mController->window()->emailButton()->isVisibleTo(mController->window()));

    QSignalSpy requested(mController.get(), &AccessWindowController::actionRequested);
    menus->action(AccessMenus::Entry::ShowCalendar)->trigger();
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).value<AccessMenus::Entry>(), AccessMenus::Entry::ShowCalendar);

    menus->filterAction(9)->trigger();
    EXPECT_EQ(mSearch->typeForSearch(), 9);
    EXPECT_TRUE(menus->filterAction(9)->isChecked());
    EXPECT_FALSE(menus->filterAction(0)->isChecked());
}

} // namespace

namespace {

TEST_F(AccessWindowTest, SpacePreviewsOnlyTheSelectedPathsThatExist)
{
    const QString present = mHome.path() + QStringLiteral("/present.txt");
    QFile file(present);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    mFiles = {record(2, QStringLiteral("present"), {{ItemRecord::KeyPath, present}}),
              record(2, QStringLiteral("pruned"),
                     {{ItemRecord::KeyPath, mHome.path() + QStringLiteral("/gone.txt")}})};
    mNotes = {record(5, QStringLiteral("prose"))};
    openWindow();
    searchFor(QStringLiteral("pr"));
    ASSERT_EQ(rows(), 3);
    table()->selectAll();
    EXPECT_EQ(mController->quickLookPaths(), QStringList{present});

    for (int row = 0; row < rows(); ++row) {
        if (mController->model()->itemAt(row)->record().value(ItemRecord::KeyKind).toInt() == 5)
            table()->selectRow(row);
    }
    EXPECT_TRUE(mController->quickLookPaths().isEmpty());
}

} // namespace
