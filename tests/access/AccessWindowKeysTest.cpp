#include "AccessWindowTestFixture.h"

#include "RecentSearches.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class AccessWindowKeysTest : public AccessWindowTest
{
protected:
    void SetUp() override
    {
        AccessWindowTest::SetUp();
        mApplications = {
            record(1, QStringLiteral("Mail"),
                   {{ItemRecord::KeyPath, QStringLiteral("/nowhere/mail.desktop")}}),
            record(1, QStringLiteral("Maps"),
                   {{ItemRecord::KeyPath, QStringLiteral("/nowhere/maps.desktop")}}),
        };
        mNotes = {record(5, QStringLiteral("Mailing list"),
                         {{ItemRecord::KeyText, QStringLiteral("addresses")}})};
        openWindow();
        passReturnGuard();
    }

    int rowOfKind(int kind) const
    {
        for (int row = 0; row < rows(); ++row) {
            if (mController->model()->itemAt(row)->record().value(ItemRecord::KeyKind).toInt()
                == kind)
                return row;
        }
        return -1;
    }
};

TEST_F(AccessWindowKeysTest, UpAndDownMoveTheSelectionWithinTheListAndTheFocusToTheTable)
{
    searchFor(QStringLiteral("ma"));
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(table()->selectedRow(), 0) << "publishing selects the first row";

    // Up with no selection selects the first row.
    table()->selectionModel()->clear();
    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Up);
    EXPECT_EQ(table()->selectedRow(), 0);
    EXPECT_EQ(focusInWindow(), table());

    // Up on the first row only moves the focus.
    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Up);
    EXPECT_EQ(table()->selectedRow(), 0);
    EXPECT_EQ(focusInWindow(), table());

    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Down);
    EXPECT_EQ(table()->selectedRow(), 1);

    // Down on the last row only moves the focus.
    table()->selectRow(2);
    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Down);
    EXPECT_EQ(table()->selectedRow(), 2);
    EXPECT_EQ(focusInWindow(), table());
    EXPECT_EQ(field()->text(), QStringLiteral("ma")) << "the arrows are no text editing";
}

// The view is given a long list a thousand rows at a time (the pass hands those over first and
// completes the list after); the keys still reach every row.
TEST_F(AccessWindowKeysTest, TheArrowsAndEndReachRowsTheViewWasNotGivenYet)
{
    const int notes = FoundItemsModel::kRowsAtOnce * 4 + 500;
    for (int i = 0; i < notes; ++i)
        mNotes.append(record(5, QStringLiteral("Memo %1").arg(i, 5, 10, QLatin1Char('0'))));
    searchFor(QStringLiteral("memo"));
    ASSERT_EQ(rows(), FoundItemsModel::kRowsAtOnce);
    ASSERT_NE(mController->model()->itemAt(notes - 1), nullptr);

    table()->selectRow(FoundItemsModel::kRowsAtOnce - 1);
    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Down);
    EXPECT_EQ(table()->selectedRow(), FoundItemsModel::kRowsAtOnce);
    EXPECT_EQ(table()->currentIndex().data().toString(),
              QStringLiteral("Memo %1").arg(FoundItemsModel::kRowsAtOnce, 5, 10, QLatin1Char('0')));

    QTest::keyClick(table(), Qt::Key_End);
    EXPECT_EQ(table()->selectedRow(), notes - 1);
    EXPECT_EQ(rows(), notes);

    // A new list starts again with the first thousand, its first row selected.
    searchFor(QStringLiteral("memo 0"));
    EXPECT_EQ(rows(), FoundItemsModel::kRowsAtOnce);
    EXPECT_EQ(table()->selectedRow(), 0);
}

TEST_F(AccessWindowKeysTest, RightOpensTheFloatingMenuOfPathsAndMovesTheCursorOtherwise)
{
    QSignalSpy menus(mController.get(), &AccessWindowController::floatingMenuRequested);
    searchFor(QStringLiteral("mail"));
    ASSERT_EQ(rows(), 2);

    table()->selectRow(rowOfKind(5));
    field()->setFocus();
    field()->setCursorPosition(0);
    QTest::keyClick(field(), Qt::Key_Right);
    EXPECT_EQ(field()->cursorPosition(), 1);
    EXPECT_EQ(focusInWindow(), field());
    EXPECT_EQ(menus.count(), 0);

    const int application = rowOfKind(1);
    table()->selectRow(application);
    field()->setFocus();
    field()->setCursorPosition(0);
    QTest::keyClick(field(), Qt::Key_Right);
    EXPECT_EQ(field()->cursorPosition(), 0);
    EXPECT_EQ(focusInWindow(), table());
    ASSERT_EQ(menus.count(), 1);
    EXPECT_EQ(menus.at(0).at(0).toMap().value(ItemRecord::KeyTitle).toString(),
              QStringLiteral("Mail"));
    EXPECT_TRUE(menus.at(0).at(2).toBool()) << "opened at the row's right end";

    // In the table the right arrow opens it too, whatever the kind has.
    QTest::keyClick(table(), Qt::Key_Right);
    EXPECT_EQ(menus.count(), 2);
}

TEST_F(AccessWindowKeysTest, RightBorderControlAndRightClicksOpenTheFloatingMenu)
{
    QSignalSpy menus(mController.get(), &AccessWindowController::floatingMenuRequested);
    searchFor(QStringLiteral("ma"));
    ASSERT_EQ(rows(), 3);
    QWidget *viewport = table()->viewport();
    const auto rowCentre = [this](int row) {
        return table()->visualRect(mController->model()->index(row, 0)).center();
    };

    // An ordinary click selects and opens nothing.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(table()->selectedRow(), 1);
    EXPECT_EQ(menus.count(), 0);

    QTest::mouseClick(viewport, Qt::LeftButton, {},
                      QPoint(viewport->width() - 5, rowCentre(2).y()));
    ASSERT_EQ(menus.count(), 1);
    EXPECT_EQ(table()->selectedRow(), 2);
    EXPECT_TRUE(menus.at(0).at(2).toBool()) << "the right-border variant";

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(0));
    ASSERT_EQ(menus.count(), 2);
    EXPECT_FALSE(menus.at(1).at(2).toBool());
    EXPECT_EQ(menus.at(1).at(0).toMap(), mController->model()->itemAt(0)->record());

    // A right click selects the row under the pointer first.
    QTest::mouseClick(viewport, Qt::RightButton, {}, rowCentre(1));
    ASSERT_EQ(menus.count(), 3);
    EXPECT_EQ(table()->selectedRow(), 1);
    EXPECT_EQ(menus.at(2).at(0).toMap(), mController->model()->itemAt(1)->record());
}

TEST_F(AccessWindowKeysTest, EscapeInTheFieldOrTheTableClosesAndHidesAtOnce)
{
    QSignalSpy hidden(mController.get(), &AccessWindowController::agentHidden);
    ASSERT_TRUE(mController->window()->isVisible());
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_FALSE(mController->isWindowVisible());
    EXPECT_FALSE(mDaemon->flags().mWindowVisible);
    EXPECT_FALSE(mController->window()->isVisible()) << "the agent hides at once after Escape";
    EXPECT_EQ(hidden.count(), 1);
    processEventsFor(AccessWindowController::HideAgentDelayMs + 100);
    EXPECT_EQ(hidden.count(), 1) << "the closing's own delayed hide has nothing left to do";

    openWindow();
    EXPECT_TRUE(mController->window()->isVisible());
    EXPECT_EQ(mController->window()->windowOpacity(), 1.0);
    QTest::keyClick(table(), Qt::Key_Escape);
    EXPECT_FALSE(mController->window()->isVisible());
}

TEST_F(AccessWindowKeysTest, TabInTheTableReturnsToTheSearchFieldWithItsTextSelected)
{
    searchFor(QStringLiteral("maps"));
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_Tab);
    // With a preview on screen its text takes the focus; Tab there comes back to the field.
    QWidget *preview = mController->selectionPresenter()->previewTextWidget();
    ASSERT_TRUE(mController->selectionPresenter()->isPreviewVisible());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->window()->focusWidget(), preview);
    QTest::keyClick(preview, Qt::Key_Tab);
    EXPECT_EQ(focusInWindow(), field());
    EXPECT_EQ(field()->selectedText(), QString()) << "coming back does not select the query";

    // Without a preview the table hands the focus straight to the field, text selected.
    mController->selectionPresenter()->hideAll();
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_Tab);
    EXPECT_EQ(focusInWindow(), field());
    EXPECT_EQ(field()->selectedText(), QStringLiteral("maps"));
}

TEST_F(AccessWindowKeysTest, ReturnRecordsTheSearchOnceInLowerCaseAtTheTop)
{
    RecentSearches::store(*mPreferences, {QStringLiteral("maps"), QStringLiteral("notes")});
    field()->setRecentSearches({QStringLiteral("maps"), QStringLiteral("notes")});

    searchFor(QStringLiteral("Mail"));
    QTest::keyClick(field(), Qt::Key_Return);
    openWindow();
    passReturnGuard();
    searchFor(QStringLiteral("Mail"));
    QTest::keyClick(field(), Qt::Key_Enter);

    const QStringList expected{QStringLiteral("mail"), QStringLiteral("maps"),
                               QStringLiteral("notes")};
    EXPECT_EQ(field()->recentSearches(), expected);
    SharedPreferences reread;
    EXPECT_EQ(RecentSearches::read(reread), expected) << "stored and synchronised at once";
}

TEST_F(AccessWindowKeysTest, InsertedPendingKeysReplaceTheSelectedQuery)
{
    searchFor(QStringLiteral("maps"));
    mController->doCloseAccessWindow();
    openWindow();
    EXPECT_EQ(field()->selectedText(), QStringLiteral("maps"));
    mController->insertPendingText(QStringLiteral("mai"));
    EXPECT_EQ(field()->text(), QStringLiteral("mai"));
    ASSERT_TRUE(waitFor([this] { return !mSearch->isSearchRunning() && rows() == 2; }));
}

TEST_F(AccessWindowKeysTest, QuietTimeSelectsTheQueryUnlessTheTableHasTheFocus)
{
    searchFor(QStringLiteral("maps"));
    field()->setFocus();
    field()->setCursorPosition(2);
    mDaemon->schedule().mLastTextEntry = 36;
    mController->selectSearchText();
    ASSERT_TRUE(mController->window()->isActiveWindow());
    EXPECT_EQ(field()->selectedText(), QStringLiteral("maps"));
    EXPECT_EQ(mDaemon->schedule().mLastTextEntry, 0);

    field()->deselect();
    table()->setFocus();
    mController->selectSearchText();
    EXPECT_TRUE(field()->selectedText().isEmpty());
}

} // namespace

// The key equivalents of the two menus, typed where the user types them: in the search field,
// whose own editing keys (Ctrl+U deletes the line, Ctrl+A, Ctrl+C, Ctrl+V) must not take them.
// Return is the field's own command and is tested above.
TEST_F(AccessWindowKeysTest, EveryKeyEquivalentTypedInTheFieldRunsTheWindowsAction)
{
    using Entry = AccessMenus::Entry;
    mContacts = {record(4, QStringLiteral("Zoe Martin"),
                        {{ItemRecord::KeyEmail, QStringLiteral("zoe@example.org")}})};
    struct Equivalent {
        const char *keys;
        std::optional<Entry> entry; // else a filter value
        int filter;
        const char *query; // selects a row for which the entry is enabled
        bool keepsQuery;
    };
    const Equivalent equivalents[] = {
        {"Ctrl+0", {}, 0, "maps", true},
        {"Ctrl+1", {}, 1, "maps", true},
        {"Ctrl+2", {}, 2, "maps", true},
        {"Ctrl+3", {}, 3, "maps", true},
        {"Ctrl+4", {}, 4, "maps", true},
        {"Ctrl+5", {}, 5, "maps", true},
        {"Ctrl+6", {}, 6, "maps", true},
        {"Ctrl+7", {}, 9, "maps", true},
        {"Ctrl+R", Entry::RevealItem, 0, "maps", true},
        {"Ctrl+E", Entry::EditItem, 0, "maps", true},
        {"Ctrl+@", Entry::SendEmail, 0, "zoe", true},
        {"Ctrl+B", Entry::OpenBrowser, 0, "maps", true},
        {"Ctrl+<", Entry::HighlightCursor, 0, "maps", true},
        {"Ctrl+C", Entry::Copy, 0, "maps", true},
        {"Ctrl+V", Entry::Paste, 0, "maps", false},
        {"Ctrl+A", Entry::SelectAll, 0, "maps", true},
        {"Ctrl+F", Entry::Search, 0, "maps", true},
        {"Ctrl+P", Entry::ShowClipboard, 0, "maps", false},
        {"Ctrl+,", Entry::OpenMainApp, 0, "maps", true},
        {"Ctrl+K", Entry::ShowCalendar, 0, "maps", true},
        {"Ctrl+T", Entry::ShowToDo, 0, "maps", true},
        {"Ctrl+U", Entry::UpdateListApps, 0, "maps", true},
        {"Ctrl+Alt+I", Entry::ShowInvisible, 0, "maps", true},
        {"Ctrl+Alt+M", Entry::ShowPackageContents, 0, "maps", true},
        {"Ctrl+W", Entry::Close, 0, "maps", true},
        {"Ctrl+?", Entry::Help, 0, "maps", true},
    };
    AccessMenus *menus = mController->window()->menus();
    QSignalSpy entries(menus, &AccessMenus::triggered);
    QSignalSpy filters(menus, &AccessMenus::filterChosen);
    const auto typeInTheField = [this](const QKeySequence &sequence) {
        field()->setFocus(Qt::OtherFocusReason);
        field()->deselect();
        QTest::keyClick(field(), sequence[0].key(), sequence[0].keyboardModifiers());
    };

    for (const Equivalent &equivalent : equivalents) {
        SCOPED_TRACE(equivalent.keys);
        if (!mController->isWindowVisible())
            openWindow();
        mSearch->menuGroupChanged(0);
        searchFor(QString::fromLatin1(equivalent.query));
        if (equivalent.entry) {
            ASSERT_TRUE(menus->action(*equivalent.entry)->isEnabled());
        }
        entries.clear();
        filters.clear();

        typeInTheField(QKeySequence(QString::fromLatin1(equivalent.keys)));
        if (equivalent.entry) {
            ASSERT_EQ(entries.count(), 1);
            EXPECT_EQ(entries.first().first().value<Entry>(), *equivalent.entry);
            EXPECT_EQ(filters.count(), 0);
        } else {
            ASSERT_EQ(filters.count(), 1);
            EXPECT_EQ(filters.first().first().toInt(), equivalent.filter);
            EXPECT_EQ(entries.count(), 0);
        }
        if (equivalent.keepsQuery) {
            EXPECT_EQ(field()->text(), QString::fromLatin1(equivalent.query));
        }
    }

    // While a scan runs the list update is disabled: its key does nothing, and still leaves the
    // query alone.
    openWindow();
    mDaemon->flags().mScanningForApplications = true;
    searchFor(QStringLiteral("maps")); // the menus follow each search
    ASSERT_FALSE(menus->action(Entry::UpdateListApps)->isEnabled());
    entries.clear();
    typeInTheField(QKeySequence(QStringLiteral("Ctrl+U")));
    EXPECT_EQ(entries.count(), 0);
    EXPECT_EQ(field()->text(), QStringLiteral("maps"));
}
