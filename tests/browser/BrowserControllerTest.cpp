#include "BrowserController.h"
#include "BrowserItem.h"
#include "BrowserMenus.h"
#include "BrowserModel.h"
#include "BrowserTestFolder.h"
#include "BundleVersion.h"
#include "DateSheet.h"
#include "FilePreviewPanel.h"
#include "ItemInformation.h"
#include "MainWindowForDrop.h"
#include "OutlineView.h"
#include "PreviewPanelWindow.h"
#include "PreviewService.h"
#include "QOR_StringUtils.h"
#include "RenameSheet.h"
#include "SelectionWindow.h"
#include "SharedPreferences.h"
#include "platform/FakeWorkspace.h"
#include "platform/NotificationCenter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class BrowserControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        mNotifications = NotificationCenter::createLocalCenter();
        mPreferences =
            std::make_unique<SharedPreferences>(BrowserController::defaultPreferencesPath());
        BrowserController::Environment environment;
        environment.notifications = mNotifications.get();
        environment.workspace = &mWorkspace;
        environment.preferences = mPreferences.get();
        environment.quit = [this] { ++mQuits; };
        environment.reportFailures = [this](const QString &title, const QString &text) {
            mReports << title + "|" + text;
        };
        mController = std::make_unique<BrowserController>(environment);
        mController->awakeFromNib();
        mController->applicationDidFinishLaunching();
        mController->preview()->setPreviewService(nullptr);
    }

    void TearDown() override { mController.reset(); }

    // Posted as the agent posts it; delivered on the next turn of the event loop.
    void pathToBrowser(const QString &path, const QString &frame = "100 120 300 400")
    {
        bool heard = false;
        const QMetaObject::Connection connection =
            QObject::connect(mNotifications.get(), &NotificationCenter::notificationReceived,
                             [&heard] { heard = true; });
        mNotifications->post(NotificationChannel::Browser, "PathToBrowser",
                             {{"Path", path}, {"WindowFrame", frame}});
        EXPECT_TRUE(QTest::qWaitFor([&heard] { return heard; }));
        QObject::disconnect(connection);
    }

    QModelIndex row(const QString &name, const QModelIndex &parent = {})
    {
        BrowserModel *model = mController->model();
        for (int i = 0; i < model->rowCount(parent); ++i) {
            if (model->index(i, 0, parent).data().toString() == name)
                return model->index(i, 0, parent);
        }
        return {};
    }

    void select(const QStringList &names)
    {
        QItemSelectionModel *selection = mController->outline()->selectionModel();
        selection->clearSelection();
        for (const QString &name : names)
            selection->select(row(name), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(row(names.first()), QItemSelectionModel::NoUpdate);
    }

    BrowserTestFolder tree;
    FakeWorkspace mWorkspace;
    std::unique_ptr<NotificationCenter> mNotifications;
    std::unique_ptr<SharedPreferences> mPreferences;
    std::unique_ptr<BrowserController> mController;
    QStringList mReports;
    int mQuits = 0;
};

} // namespace

TEST_F(BrowserControllerTest, TheAgentsNoticeShowsTheFolderOfAFileBesideTheAccessWindow)
{
    tree.file("docs/report.txt");
    tree.file("docs/notes/n.txt");
    pathToBrowser(tree.path("docs/report.txt"));
    EXPECT_TRUE(mController->window()->isVisible());
    EXPECT_EQ(mController->rootItem()->getPath(), tree.path("docs"));
    // Of the access window's size, on its right, so that their information strips stay apart.
    const QRect access(100, 120, 300, 400);
    EXPECT_EQ(mController->window()->frameGeometry().topLeft(),
              QPoint(access.right() + 1 + BrowserController::AccessWindowGap, access.top()));
    EXPECT_EQ(mController->window()->size(), access.size());
    EXPECT_FALSE(mController->window()->frameGeometry().intersects(access));
    const QRect placed = mController->window()->geometry();
    EXPECT_EQ(mController->status().value("Rows").toStringList(),
              QStringList({"notes", "report.txt"}));

    // The same folder again: nothing rebuilt, the expansion stays, the frame is not taken.
    mController->outline()->expand(row("notes"));
    const BrowserItem *root = mController->rootItem();
    pathToBrowser(tree.path("docs"), "0 0 500 500");
    EXPECT_EQ(mController->rootItem(), root);
    EXPECT_TRUE(mController->outline()->isExpanded(row("notes")));
    EXPECT_EQ(mController->window()->geometry(), placed);

    mNotifications->post(NotificationChannel::Browser, "QuitBrowser");
    EXPECT_TRUE(QTest::qWaitFor([this] { return mQuits == 1; }));
}

TEST_F(BrowserControllerTest, AnEmptyPathBringsUpTheHomeFolderAtTheFrame)
{
    pathToBrowser(QString(), "40 60 320 380");
    EXPECT_EQ(mController->rootItem()->getPath(), QDir::homePath());
    EXPECT_EQ(mController->window()->frameGeometry().topLeft(),
              QPoint(40 + 320 + BrowserController::AccessWindowGap, 60));
    EXPECT_EQ(mController->window()->size(), QSize(320, 380));
}

TEST_F(BrowserControllerTest, ARootWithOneFolderShowsItExpanded)
{
    tree.file("only/inside.txt");
    mController->createBrowserForPath(tree.path(), true);
    EXPECT_TRUE(mController->outline()->isExpanded(row("only")));
    EXPECT_TRUE(row("inside.txt", row("only")).isValid());
}

TEST_F(BrowserControllerTest, TheActionsOpenRevealAndReRoot)
{
    tree.file("a/b/c.txt");
    mController->createBrowserForPath(tree.path("a"), true);
    select({"b"});
    mController->doubleClickBrowser();
    mController->doRevealItem();
    EXPECT_EQ(mWorkspace.opened(), QStringList({tree.path("a/b")}));
    EXPECT_EQ(mWorkspace.revealed(), QStringList({tree.path("a/b")}));
    mController->doOpenItem();
    EXPECT_EQ(mController->rootItem()->getPath(), tree.path("a/b"));
    mController->doShowParent();
    EXPECT_EQ(mController->rootItem()->getPath(), tree.path("a"));

    mController->createBrowserForPath("/", true);
    EXPECT_FALSE(mController->action("PopupMenuShowParent")->isEnabled());
}

// The location field is a place to type: a path typed there, "~" included, re-roots the
// browser; a path that leads nowhere leaves everything as it was; Escape gives up the typing.
TEST_F(BrowserControllerTest, TheLocationFieldGoesWhereAPathIsTyped)
{
    tree.file("a/b/c.txt");
    tree.file("other/d.txt");
    mController->createBrowserForPath(tree.path("a"), true);
    MainWindowForDrop *window = mController->window();
    QLineEdit *field = window->pathField();
    EXPECT_FALSE(field->isReadOnly());
    EXPECT_EQ(field->text(), window->shownLocation());
    EXPECT_TRUE(field->text().startsWith('~')) << "the home folder is written as ~";

    const auto typeAndConfirm = [&](const QString &text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    };
    typeAndConfirm(tree.path("other"));
    EXPECT_EQ(mController->rootItem()->getPath(), tree.path("other"));
    EXPECT_EQ(field->text(), window->shownLocation());

    const QString home = QDir::homePath();
    typeAndConfirm("~" + tree.path("a/b").mid(home.size()));
    EXPECT_EQ(mController->rootItem()->getPath(), tree.path("a/b"));

    typeAndConfirm(tree.path("nowhere"));
    EXPECT_EQ(mController->rootItem()->getPath(), tree.path("a/b"));
    EXPECT_EQ(field->text(), tree.path("nowhere")) << "kept, to be mended";
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(field->text(), window->shownLocation());

    ASSERT_NE(field->completer(), nullptr) << "folder names are completed";
    EXPECT_EQ(field->completer()->caseSensitivity(), Qt::CaseInsensitive);
}

TEST_F(BrowserControllerTest, TheOptionsAreStoredAndRebuildTheTree)
{
    tree.file(".dot");
    tree.file("plain");
    mController->createBrowserForPath(tree.path(), true);
    EXPECT_EQ(mController->status().value("Rows").toStringList(), QStringList({"plain"}));
    mController->action("PopupMenuShowInvisible")->trigger();
    EXPECT_EQ(mController->status().value("Rows").toStringList(), QStringList({".dot", "plain"}));
    EXPECT_TRUE(mController->action("PopupMenuShowInvisible")->isChecked());
    SharedPreferences reread(BrowserController::defaultPreferencesPath());
    EXPECT_EQ(reread.intValue("ShowInvisible"), 1);
}

TEST_F(BrowserControllerTest, TheInformationPanelDescribesTheSelectionAndCopies)
{
    const QString file = tree.file("docs/report.txt", "12345");
    mController->createBrowserForPath(tree.path("docs"), true);
    EXPECT_FALSE(mController->informationPanel()->isVisible());
    select({"report.txt"});
    SelectionWindow *panel = mController->informationPanel();
    EXPECT_TRUE(panel->isVisible());
    const QString text = panel->textView()->toPlainText();
    EXPECT_TRUE(text.startsWith(QOR_StringUtils::localizedPath(file) + "\n(5 bytes - "))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("\n\n" + file));
    const QRect window = mController->window()->frameGeometry();
    EXPECT_EQ(panel->geometry().top(), window.bottom() + 1 + 2);
    EXPECT_EQ(panel->geometry().width(), window.width());

    mController->browserCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);

    // Tab leads into the text, all of it selected; Tab there goes back to the outline.
    panel->textView()->selectRange(0, 0);
    ASSERT_TRUE(panel->textView()->selectedPlainText().isEmpty());
    mController->makeTextViewFirstResponder();
    EXPECT_EQ(panel->textView()->selectedPlainText(), text);

    mController->outline()->clearSelection();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(BrowserControllerTest, ThePanelNeverReachesBelowTheScreen)
{
    const QRect screen(0, 0, 1000, 800);
    EXPECT_EQ(BrowserController::informationPanelFrame(QRect(10, 100, 300, 400), 100, screen),
              QRect(10, 502, 300, 112));
    EXPECT_EQ(
        BrowserController::informationPanelFrame(QRect(10, 100, 300, 400), 5, screen).height(), 40);
    EXPECT_EQ(
        BrowserController::informationPanelFrame(QRect(10, 100, 300, 600), 900, screen).bottom(),
        799);
}

TEST_F(BrowserControllerTest, ABundleShowsItsDottedVersion)
{
    const QByteArray plist =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>CFBundleVersion</key><string>412</string>"
        "<key>CFBundleShortVersionString</key><string>2.4.1</string></dict></plist>";
    EXPECT_EQ(BundleVersion::fromPropertyList(plist), "2.4.1");
    QByteArray plain = plist;
    plain.replace("2.4.1", "2");
    EXPECT_EQ(BundleVersion::fromPropertyList(plain), std::nullopt);
    EXPECT_EQ(BundleVersion::fromPropertyList("not a list"), std::nullopt);
    // Found by fuzzing: a string holding NULs made libplist assert; it is no version.
    QFile nul(
        QStringLiteral(KORVALE_SOURCE_DIR "/tests/browser/data/bundle-version-nul-string.plist"));
    ASSERT_TRUE(nul.open(QIODevice::ReadOnly));
    EXPECT_EQ(BundleVersion::fromPropertyList(nul.readAll()), std::nullopt);

    tree.file("Tool.app/Contents/Info.plist", plist);
    const QString text = ItemInformation::textFor(tree.path("Tool.app"), true);
    EXPECT_TRUE(text.startsWith(tree.path("Tool.app") + "\n(2.4.1)\n(")) << text.toStdString();
}

TEST_F(BrowserControllerTest, TheContextMenuOffersContentsAndEnclosingFolders)
{
    tree.file("top/empty/.keep");
    tree.file("top/Tool.app/Contents/x");
    tree.file("top/file.txt");
    mController->createBrowserForPath(tree.path(), true);
    mController->outline()->expand(row("top"));
    select({"top"});
    std::unique_ptr<QMenu> menu(mController->getFloatingPopupMenu());
    ASSERT_TRUE(menu);
    QMenu *contents = nullptr;
    QMenu *ancestors = nullptr;
    for (QAction *entry : menu->actions()) {
        if (entry->text() == "Contents")
            contents = entry->menu();
        if (entry->text() == "Enclosing folders")
            ancestors = entry->menu();
    }
    ASSERT_TRUE(contents && ancestors);
    QStringList titles;
    for (QAction *entry : contents->actions())
        titles << entry->text() + (entry->menu() ? "/" : "");
    EXPECT_EQ(titles, QStringList({"empty/", "file.txt", "Tool.app"}));

    // An empty folder's submenu holds one disabled "Empty" entry, filled when it opens.
    QMenu *empty = contents->actions().first()->menu();
    EXPECT_TRUE(empty->isEmpty());
    emit empty->aboutToShow();
    ASSERT_EQ(empty->actions().size(), 1);
    EXPECT_EQ(empty->actions().first()->text(), "Empty");
    EXPECT_FALSE(empty->actions().first()->isEnabled());

    // The ancestors, nearest first, up to "/".
    QStringList expected;
    for (QString path = tree.path();; path = QFileInfo(path).path()) {
        expected << path;
        if (path == "/")
            break;
    }
    ASSERT_EQ(ancestors->actions().size(), expected.size());
    ancestors->actions().last()->trigger();
    EXPECT_EQ(mWorkspace.opened(), QStringList({"/"}));
}

TEST_F(BrowserControllerTest, SpaceShowsAndHidesThePreviewOfExistingFiles)
{
    tree.file("a.txt", "hello");
    tree.file("b.txt", "there");
    mController->createBrowserForPath(tree.path(), true);
    select({"a.txt", "b.txt"});
    QTest::keyClick(mController->outline(), Qt::Key_Space);
    ASSERT_TRUE(mController->preview()->isVisible());
    QTest::keyClick(mController->outline(), Qt::Key_Space);
    EXPECT_FALSE(mController->preview()->isVisible());

    QFile::remove(tree.path("a.txt"));
    QFile::remove(tree.path("b.txt"));
    QTest::keyClick(mController->outline(), Qt::Key_Space);
    EXPECT_FALSE(mController->preview()->isVisible());
}

// Through the sheet: numbers widened for the selection, the live sample, the run, and the user
// told which item failed and why while the others are renamed.
TEST_F(BrowserControllerTest, TheRenameSheetRenamesTheSelectionAndReportsFailures)
{
    for (int i = 0; i < 12; ++i)
        tree.file(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    mController->createBrowserForPath(tree.path(), true);
    RenameSheet *sheet = mController->renameSheet();
    sheet->digitsField()->setValue(1);
    sheet->schemeField()->setText("%N");
    mController->browserSelectAll();
    QString sample;
    int digits = 0;
    QObject::connect(sheet, &RenameSheet::running, sheet, [&] {
        digits = sheet->digitsField()->value();
        sheet->schemeField()->setText("pic_%X");
        sample = sheet->sample()->text();
        sheet->accept();
    });
    // One item's new name is taken by a folder that cannot be moved onto: it still renames by
    // the "#" rule; a failing item is made by a name the sheet's scheme turns into a path.
    mController->browserModifyName();
    QObject::disconnect(sheet, &RenameSheet::running, nullptr, nullptr);
    EXPECT_EQ(digits, 2);
    EXPECT_EQ(sample, "pic_01.txt");
    EXPECT_EQ(mController->status().value("Rows").toStringList().first(), "pic_01.txt");
    EXPECT_TRUE(QFile::exists(tree.path("pic_12.txt")));
    EXPECT_TRUE(mReports.isEmpty());

    QObject::connect(sheet, &RenameSheet::running, sheet, [&] {
        sheet->schemeField()->setText("x/%X");
        sheet->accept();
    });
    select({"pic_01.txt"});
    mController->browserModifyName();
    ASSERT_EQ(mReports.size(), 1);
    EXPECT_EQ(mReports.first(),
              "Some items could not be renamed|pic_01.txt: the new name is empty or holds a /");
}

TEST_F(BrowserControllerTest, AFileDroppedOnTheWindowReRootsTheBrowserAtItsFolder)
{
    tree.file("one/a.txt");
    tree.file("two/b.txt");
    mController->createBrowserForPath(tree.path("one"), true);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(tree.path("two/b.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(mController->window(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(mController->window(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return mController->rootItem()->getPath() == tree.path("two"); }));
}

// Through the sheet: the reference row moved from 10:00 to 12:00 in shift mode moves every
// selected row two hours.
TEST_F(BrowserControllerTest, TheDateSheetShiftsEverySelectedDateByTheReferencesMove)
{
    const QDateTime ten(QDate(2023, 5, 1), QTime(10, 0, 0));
    const QString a = tree.file("a.txt");
    const QString b = tree.file("b.txt");
    BrowserTestFolder::setModified(a, ten);
    BrowserTestFolder::setModified(b, ten.addDays(-1));
    mController->createBrowserForPath(tree.path(), true);
    select({"a.txt", "b.txt"});
    DateSheet *sheet = mController->dateSheet();
    QDateTime shown;
    QObject::connect(sheet, &DateSheet::running, sheet, [&] {
        shown = sheet->dateField()->dateTime();
        sheet->shiftButton()->setChecked(true);
        sheet->dateField()->setDateTime(ten.addSecs(7200));
        sheet->accept();
    });
    mController->browserModifyDate();
    EXPECT_EQ(shown, ten);
    EXPECT_EQ(BrowserTestFolder::modified(a), ten.addSecs(7200));
    EXPECT_EQ(BrowserTestFolder::modified(b), ten.addDays(-1).addSecs(7200));
    EXPECT_TRUE(mReports.isEmpty());
}

TEST(BrowserPlacement, BesideTheAccessWindowOnTheSideWithRoomElseCascadedAndAlwaysOnScreen)
{
    const QRect room(0, 0, 1920, 1050);
    const QSize size(460, 520);
    // The access window's first place, against the right edge: the browser goes on its left.
    const QRect access(1460, 470, 460, 520);
    const QRect left = BrowserController::frameBesideAccessWindow(access, size, room);
    EXPECT_EQ(left.right(), access.left() - BrowserController::AccessWindowGap - 1);
    EXPECT_EQ(left.top(), access.top());
    // No room on either side: cascaded from it, still whole on the screen.
    const QRect small(0, 0, 800, 600);
    const QRect middle(200, 50, 460, 520);
    const QRect cascaded = BrowserController::frameBesideAccessWindow(middle, size, small);
    EXPECT_TRUE(small.contains(cascaded));
    EXPECT_NE(cascaded.topLeft(), middle.topLeft());
    EXPECT_GE(cascaded.left(), middle.left());
    EXPECT_GE(cascaded.top(), middle.top());
}
