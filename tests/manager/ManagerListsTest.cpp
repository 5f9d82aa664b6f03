#include "ManagerFixture.h"

#include "ApplicationScanner.h"
#include "CommonKorvaleClass.h"
#include "ItemEditorSheet.h"
#include "ItemRowDelegate.h"
#include "KeyMap.h"
#include "ManagerWindow.h"
#include "RecordListModel.h"
#include "SectionViews.h"
#include "WebSearch.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace {

QVariantMap application(const QString &title, const QString &path)
{
    return {{"x", 1}, {"T", title}, {"P", path}};
}

QStringList pathsOf(const QVariantList &list)
{
    QStringList paths;
    for (const QVariant &item : list)
        paths << item.toMap().value("P").toString();
    return paths;
}

} // namespace

TEST_F(ManagerTest, TheFilesAndFoldersListsKeepEachPathOnceAndTellTheAgent)
{
    auto manager = makeManager();
    const QString folder = makeFile("Projects", true);
    const QString file = makeFile("notes.txt");

    const int scanFolders = int(manager->foldersForApplications().size());
    EXPECT_FALSE(manager->addApplicationFolderAtPath(file)) << "a file is no folder to scan";
    EXPECT_TRUE(manager->addApplicationFolderAtPath(folder));
    EXPECT_FALSE(manager->addApplicationFolderAtPath(folder));
    EXPECT_EQ(manager->foldersForApplications().size(), scanFolders + 1);
    EXPECT_EQ(mPreferences->value("AppsFoldersList").toStringList(),
              manager->foldersForApplications());

    mPreferences->setValue("FilesList", QVariantList());
    manager = makeManager();
    clearPosted();
    EXPECT_TRUE(manager->addFileAtPath(file));
    EXPECT_TRUE(manager->addFileAtPath(folder));
    EXPECT_FALSE(manager->addFileAtPath(file));
    EXPECT_EQ(posted(), (QStringList{"SettingChanged", "SettingChanged"}));
    ASSERT_EQ(manager->files().size(), 2);
    EXPECT_EQ(manager->files().at(0).toMap().value("T").toString(), "notes.txt");
    EXPECT_EQ(manager->filesView()->model()->rowCount(), 2);

    // Including contents acts on the folder, and asks the agent for a rescan.
    clearPosted();
    manager->addFolderContents({0, 1}, true);
    EXPECT_EQ(posted(), QStringList{"RescanFolders"});
    EXPECT_FALSE(manager->files().at(0).toMap().contains("F"));
    EXPECT_EQ(manager->files().at(1).toMap().value("F").toInt(), 1);
    EXPECT_EQ(mPreferences->value("FilesListRescan").toInt(), 1);

    manager->removeFile({0});
    EXPECT_EQ(mPreferences->value("FilesList").toList().size(), 1);
}

TEST_F(ManagerTest, TheAgentsEditRequestFindsAnApplicationTheSearchHidAndSavesTheEdit)
{
    CommonKorvaleClass::saveListInFile({application("Mail", "/apps/mail.desktop"),
                                        application("Maps", "/apps/maps.desktop"),
                                        application("Zephyr", "/apps/zephyr.desktop")},
                                       DataFileName::Applications);
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    ApplicationsFoundView *view = manager->applicationsView();
    view->searchField()->setText("ma");
    EXPECT_EQ(view->counterLabel()->text(), "2 / 3");

    // The editor's fields, filled in as a user would once it runs.
    ItemEditorSheet *editor = manager->itemEditor();
    int runs = 0;
    QObject::connect(editor, &ItemEditorSheet::running, editor, [&] {
        ++runs;
        EXPECT_TRUE(editor->titleField()->isReadOnly());
        EXPECT_EQ(editor->titleField()->text(), "Zephyr");
        editor->abbreviationField()->setText("zz");
        editor->keywordsField()->setText("sketch draw");
        editor->accept();
    });
    manager->editItem(application("Zephyr", "/apps/zephyr.desktop"));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(manager->window()->currentSection(), int(ManagerWindow::ApplicationsFound));
    EXPECT_EQ(view->searchText(), QString());
    EXPECT_EQ(view->counterLabel()->text(), "3");

    const QVariantList saved = CommonKorvaleClass::readListInFile(DataFileName::Applications);
    ASSERT_EQ(saved.size(), 3);
    const QVariantMap zephyr = saved.at(2).toMap();
    EXPECT_EQ(zephyr.value("A").toString(), "zz");
    EXPECT_EQ(zephyr.value("K").toString(), "sketch draw");
    EXPECT_EQ(zephyr.value("H").toInt(), 0);

    // An application no list holds is not edited.
    manager->editItem(application("Gone", "/apps/gone.desktop"));
    EXPECT_EQ(runs, 1);
}

TEST_F(ManagerTest, AScanEndingWhileAnApplicationIsEditedKeepsEveryApplicationAndTheEdit)
{
    const QVariantList stored{application("Mail", "/apps/mail.desktop"),
                              application("Zeta 0001", "/apps/zeta1.desktop"),
                              application("Zeta 0002", "/apps/zeta2.desktop")};
    CommonKorvaleClass::saveListInFile(stored, DataFileName::Applications);
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    ASSERT_EQ(manager->applicationsFound().size(), 3);

    // The scan finds a new application that sorts first, and hands its list over while the
    // sheet is open, as a scan thread ending then does.
    ItemEditorSheet *editor = manager->itemEditor();
    QObject::connect(editor, &ItemEditorSheet::running, editor, [&] {
        QVariantList scanned = stored;
        scanned.prepend(application("Atlas", "/apps/atlas.desktop"));
        EXPECT_TRUE(manager->scanner()->scanCompleted(scanned));
        editor->abbreviationField()->setText("zz");
        editor->accept();
    });
    manager->editApplication(2); // "Zeta 0002"

    for (const QVariantList &list :
         {manager->applicationsFound(),
          CommonKorvaleClass::readListInFile(DataFileName::Applications)}) {
        ASSERT_EQ(pathsOf(list),
                  (QStringList{"/apps/atlas.desktop", "/apps/mail.desktop", "/apps/zeta1.desktop",
                               "/apps/zeta2.desktop"}));
        EXPECT_EQ(list.at(3).toMap().value("A").toString(), "zz");
        EXPECT_FALSE(list.at(2).toMap().contains("A"));
    }
}

TEST_F(ManagerTest, TwoCopiesOfTheManagerKeepTheFilesAndFoldersEachOneAdded)
{
    mPreferences->setValue("FilesList", QVariantList());
    mPreferences->synchronize();
    auto first = makeManager();
    // A second copy (another session of the same user), with its own view of the preferences.
    std::unique_ptr<SharedPreferences> firstPreferences = std::move(mPreferences);
    mPreferences = std::make_unique<SharedPreferences>(firstPreferences->path());
    auto second = makeManager();

    const QString report = makeFile("report.odt");
    const QString photos = makeFile("Photos", true);
    EXPECT_TRUE(first->addFileAtPath(report));
    EXPECT_TRUE(second->addFileAtPath(photos));
    first->removeFile({0}); // the report again: the photos another copy added stay

    SharedPreferences reader(firstPreferences->path());
    EXPECT_EQ(pathsOf(reader.value("FilesList").toList()), QStringList{photos});
    EXPECT_EQ(pathsOf(first->files()), QStringList{photos});
    second.reset();
    first.reset();
}

TEST_F(ManagerTest, FilesDroppedFromTheFileManagerGoWhereTheAddButtonsPutThem)
{
    auto manager = makeManager();
    const QString folder = makeFile("Drop/Folder", true);
    const QString file = makeFile("Drop/readme.md");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(folder), QUrl::fromLocalFile(file),
                     QUrl(QStringLiteral("https://example.org/page"))});

    RecordListModel *files = manager->filesView()->model();
    ASSERT_TRUE(files->canDropMimeData(&dropped, Qt::CopyAction, -1, -1, {}));
    const qsizetype before = manager->files().size();
    ASSERT_TRUE(files->dropMimeData(&dropped, Qt::CopyAction, -1, -1, {}));
    EXPECT_EQ(manager->files().size(), before + 2) << "the address is no file";

    // The application folders keep the folder only.
    const qsizetype folders = manager->foldersForApplications().size();
    manager->foldersView()->model()->dropMimeData(&dropped, Qt::CopyAction, -1, -1, {});
    EXPECT_EQ(manager->foldersForApplications().size(), folders + 1);
    EXPECT_TRUE(manager->foldersForApplications().contains(folder));

    QMimeData text;
    text.setText(QStringLiteral("no file here"));
    EXPECT_FALSE(files->canDropMimeData(&text, Qt::CopyAction, -1, -1, {}));
}

TEST_F(ManagerTest, ApplicationFoldersReadByTheirPathsWithTheHomeAsTilde)
{
    auto manager = makeManager();
    const QString home = QDir::homePath();
    RecordListModel *rows = manager->foldersView()->model();
    // The default folders: the user's and the system's "applications" never read alike.
    QStringList shown;
    for (int row = 0; row < rows->rowCount(); ++row)
        shown << rows->index(row).data().toString();
    EXPECT_EQ(QSet<QString>(shown.cbegin(), shown.cend()).size(), shown.size())
        << shown.join(", ").toStdString();

    manager->foldersView()->setFolders({home + "/.local/share/applications",
                                        "/usr/share/applications", home, home + "2/applications",
                                        "/"});
    ASSERT_EQ(rows->rowCount(), 5);
    const QStringList expected = {"~/.local/share/applications", "/usr/share/applications", "~",
                                  home + "2/applications", "/"};
    for (int row = 0; row < rows->rowCount(); ++row) {
        EXPECT_EQ(rows->index(row).data().toString(), expected.at(row));
        EXPECT_EQ(rows->index(row).data(Qt::ToolTipRole).toString(),
                  rows->list().at(row).toString());
    }
}

TEST(ItemRow, ShowsTheAnnotationsInOrderAndTheShortcutAtTheEnd)
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    const QVariantMap record = {{"x", 2},
                                {"P", "/home/ann/Work/Plans"},
                                {"F", 1},
                                {"A", "pl"},
                                {"K", "house garden"},
                                {"t", "spring\nlist"},
                                {">", KeyMap::ofKeys({VirtualKey::Control, 40}).toData()}};
    using Line = ItemRowDelegate::Line;
    QStringList titleLine;
    QStringList detailLine;
    for (const ItemRowDelegate::Piece &piece : ItemRowDelegate::annotations(record))
        (piece.line == Line::Title ? titleLine : detailLine) << piece.text;
    EXPECT_EQ(titleLine, (QStringList{"  <pl>", "  house garden"}));
    EXPECT_EQ(detailLine,
              (QStringList{"/home/ann/Work", "  (contents included)", "  spring list"}));
    EXPECT_TRUE(ItemRowDelegate::shortcutText(record).startsWith('['));
    EXPECT_TRUE(ItemRowDelegate::shortcutText({{"x", 2}}).isEmpty());
    EXPECT_EQ(ItemRowDelegate::placeOf(QDir::homePath() + "/audit-home/Documents"), "~/audit-home");

    // The agent's index: running, then done with a cut beside the folder it concerns.
    QLocale::setDefault(QLocale(QStringLiteral("en")));
    ItemRowDelegate::setDocumentsIndexStatus(
        {{"indexing", true}, {"indexed", false}, {"progress", 40000}});
    EXPECT_EQ(ItemRowDelegate::annotations(record).value(4).text, " Indexing… 40,000 files");
    const QVariantMap done{
        {"indexing", false},
        {"indexed", true},
        {"folders",
         QVariantList{QVariantMap{
             {"P", "/home/ann/Work/Plans"}, {"entries", 200000}, {"cut", "too many"}}}}};
    ItemRowDelegate::setDocumentsIndexStatus(done);
    EXPECT_EQ(ItemRowDelegate::annotations(record).value(4).text,
              " 200,000 entries indexed (too many)");
    ItemRowDelegate::setDocumentsIndexStatus({});
    EXPECT_EQ(ItemRowDelegate::annotations(record).value(4).text, "  spring list");
}

// The title stands alone on its line in the text colour; the place and the marks sit below it,
// quieter, and nothing of a sound row is drawn in an alarm colour.
TEST(ItemRow, TitleAboveAQuieterPlaceAndNoAlarmColour)
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    QStandardItemModel model;
    auto *item = new QStandardItem(QStringLiteral("Calculator"));
    item->setData(QVariantMap{{"x", 1},
                              {"T", "Calculator"},
                              {"P", "/usr/share/applications/org.gnome.Calculator.desktop"},
                              {"A", "cc"},
                              {"F", 1}},
                  RecordListModel::RecordRole);
    model.appendRow(item);
    QListView view;
    view.setModel(&model);
    ItemRowDelegate delegate;
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.rect = QRect(0, 0, 500, ItemRowDelegate::RowHeight);
    option.palette.setColor(QPalette::Base, Qt::white);
    option.palette.setColor(QPalette::Text, Qt::black);
    QImage image(option.rect.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, model.index(0, 0));
    painter.end();

    int inked = 0;
    int topInk = image.height();
    int bottomInk = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            EXPECT_FALSE(pixel.red() > pixel.green() + 60 && pixel.red() > pixel.blue() + 60)
                << "red at " << x << "," << y;
            EXPECT_FALSE(pixel.blue() > pixel.red() + 60) << "a link's blue at " << x << "," << y;
            if (pixel.lightness() < 200) {
                ++inked;
                topInk = std::min(topInk, y);
                bottomInk = std::max(bottomInk, y);
            }
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_GT(bottomInk - topInk, QFontMetrics(option.font).height())
        << "the place is on a second line";
    EXPECT_NE(ItemRowDelegate::secondaryColour(option.palette, false),
              option.palette.color(QPalette::Text));
}

TEST_F(ManagerTest, TheWebSearchLooksUpTheSelectedApplicationsTitle)
{
    CommonKorvaleClass::saveListInFile({application("Café Éditeur", "/apps/cafe.desktop"),
                                        application("Text Edit", "/apps/text.desktop"),
                                        application("日本語", "/apps/jp.desktop")},
                                       DataFileName::Applications);
    QList<QUrl> opened;
    MainController::Environment environment;
    environment.preferences = mPreferences.get();
    environment.notifications = mNotifications.get();
    environment.keyboard = &mKeyboard;
    environment.daemonPath = mDaemonPath;
    environment.programs = &mPrograms;
    environment.startProgram = [](const QString &) { return true; };
    environment.interactive = false;
    environment.version = "1.0";
    environment.openUrl = [&](const QUrl &url) { opened << url; };
    MainController manager(environment);
    manager.awakeFromNib();
    ASSERT_TRUE(manager.applicationDidFinishLaunching());

    const QString google = "https://www.google.com/search?q=<<PRODUCT>>";
    manager.searchOnWeb(1, google);
    manager.searchOnWeb(0, google);
    manager.searchOnWeb(2, google); // nothing left of the title in ASCII: still an address
    manager.searchOnWeb(7, google);
    manager.searchOnWeb(-1, google);
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened.at(0).query(), "q=text+edit");
    EXPECT_EQ(opened.at(1).query(), "q=cafe+editeur");
    EXPECT_EQ(opened.at(2).query(), "q=");
    EXPECT_EQ(WebSearch::addressFor("not an address <<PRODUCT>>", "x"), std::nullopt);

    // Characters that mean something in an address stay part of the title, for every site.
    for (const WebSearch::Service &service : WebSearch::services()) {
        const std::optional<QUrl> url =
            WebSearch::addressFor(service.addressTemplate, "Notepad++ & Co #1 =50% a/b?");
        ASSERT_TRUE(url) << service.addressTemplate.toStdString();
        const QString encoded = QString::fromLatin1(url->toEncoded());
        EXPECT_TRUE(encoded.contains("=notepad%2B%2B+%26+co+%231+%3D50%25+a%2Fb%3F"))
            << encoded.toStdString();
        EXPECT_TRUE(url->fragment().isNull()) << encoded.toStdString();
        const QString key = service.addressTemplate.section('?', 1).section('=', 0, 0);
        // As the site's form reads it: "+" a space, then the percent escapes.
        const QString value = QUrlQuery(*url).queryItemValue(key, QUrl::FullyEncoded);
        EXPECT_EQ(QUrl::fromPercentEncoding(value.toLatin1().replace('+', ' ')),
                  "notepad++ & co #1 =50% a/b?")
            << encoded.toStdString();
    }
    EXPECT_EQ(WebSearch::addressFor(google, QString()), std::nullopt);
}

// A desktop entry added to the user's folder after the scan is listed once Rescan Applications
// (the Edit menu's entry and its key) walks the folders again; the agent is told.
TEST_F(ManagerTest, RescanListsADesktopEntryAddedToTheUsersApplicationsFolder)
{
    const QString folder = makeFile(".local/share/applications", true);
    mPreferences->setValue("AppsFoldersList", QStringList{folder});
    auto writeEntry = [&](const QString &id, const QString &name) {
        QFile file(folder + "/" + id);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nExec=/bin/true\nName=" + name.toUtf8()
                   + "\n");
    };
    writeEntry("org.example.Editor.desktop", "Editor");
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    ASSERT_TRUE(manager->scanner()->waitForScan(10000));
    ASSERT_EQ(pathsOf(manager->applicationsFound()),
              QStringList{folder + "/org.example.Editor.desktop"});

    writeEntry("org.example.Atlas.desktop", "Atlas");
    clearPosted();
    QAction *rescan = manager->window()->findChild<QAction *>("RescanApplications");
    ASSERT_NE(rescan, nullptr);
    EXPECT_FALSE(rescan->shortcut().isEmpty());
    QMenu *edit = nullptr;
    for (QAction *menu : manager->window()->menuBar()->actions()) {
        if (menu->menu() && menu->menu()->actions().contains(rescan))
            edit = menu->menu();
    }
    EXPECT_NE(edit, nullptr) << "Rescan Applications is in a menu";
    rescan->trigger();
    ASSERT_TRUE(manager->scanner()->waitForScan(10000));
    EXPECT_EQ(pathsOf(manager->applicationsFound()),
              (QStringList{folder + "/org.example.Atlas.desktop",
                           folder + "/org.example.Editor.desktop"}));
    EXPECT_TRUE(posted().contains("ScanApplicationsCompleted"));
}

TEST(FilesView, TheFolderContentsEntryIsOfferedOnFolderRowsOnly)
{
    FilesView view;
    view.setFiles({QVariantMap{{"x", 2}, {"P", "/home/u/report.pdf"}, {"D", 0}},
                   QVariantMap{{"x", 2}, {"P", "/home/u/Projects"}, {"D", 1}, {"F", 0}}});
    EXPECT_EQ(view.contextMenuForRow(0), nullptr) << "a file has no contents to include";
    const std::unique_ptr<QMenu> menu = view.contextMenuForRow(1);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(),
              QOR_StringUtils::getLocalizedStringForKey("IncludeContents"));
    QList<int> asked;
    bool include = false;
    QObject::connect(&view, &FilesView::includeContentsRequested,
                     [&](const QList<int> &rows, bool on) {
                         asked = rows;
                         include = on;
                     });
    menu->actions().first()->trigger();
    EXPECT_EQ(asked, QList<int>({1}));
    EXPECT_TRUE(include);
}
