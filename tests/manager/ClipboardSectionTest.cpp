#include "ManagerFixture.h"
#include "SaveFailureAlert.h"
#include "SaveFailures.h"

#include "ClipboardEditorSheet.h"
#include "ClipboardList.h"
#include "ClipboardSecret.h"
#include "ClipboardSection.h"
#include "ClipboardSectionView.h"
#include "ClipboardStore.h"
#include "ClipboardView.h"
#include "CommonKorvaleClass.h"
#include "ItemClipboardCell.h"
#include "ManagerWindow.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"
#include "platform/SessionClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

QByteArray packedText(const QString &text)
{
    return PasteboardContents::pack(
        {{PasteboardContents::TypeString, QVariantMap{{"string", text}}}});
}

QVariantMap entry(const QString &title, const QString &text)
{
    return ClipboardList::makeEntry(title, packedText(text));
}

QStringList titlesOf(const QVariantList &list)
{
    QStringList titles;
    for (const QVariant &record : list)
        titles << record.toMap().value("T").toString();
    return titles;
}

void selectRows(ClipboardSectionView *view, const QList<int> &rows)
{
    view->table()->clearSelection();
    for (int row : rows)
        view->table()->selectionModel()->select(view->model()->index(row),
                                                QItemSelectionModel::Select);
}

} // namespace

TEST_F(ManagerTest, RemovingUnderAFilterRemovesExactlyTheEntriesInTheSelectedRows)
{
    CommonKorvaleClass::saveListInFile({entry("alpha report", "a1"), entry("Beta", "b"),
                                        entry("gamma report", "g"), entry("Report été", "r"),
                                        entry("zeta", "z")},
                                       DataFileName::Clipboard);
    auto manager = makeManager();
    ClipboardSectionView *view = manager->clipboardSection()->view();
    manager->openClipboardPanel();
    EXPECT_EQ(manager->window()->currentSection(), int(ManagerWindow::Clipboard));
    EXPECT_EQ(view->counterLabel()->text(), "5");

    // Accents are ignored: "ete" finds "été"; every word must occur.
    view->searchField()->setText("REPORT");
    EXPECT_EQ(view->counterLabel()->text(), "3 / 5");
    view->searchField()->setText("report ete");
    EXPECT_EQ(view->counterLabel()->text(), "1 / 5");
    view->searchField()->setText("report");
    ASSERT_EQ(view->model()->rowCount(), 3);

    EXPECT_FALSE(view->removeButton()->isEnabled());
    selectRows(view, {0, 2});
    EXPECT_TRUE(view->removeButton()->isEnabled());
    clearPosted();
    view->removeButton()->click();

    EXPECT_EQ(titlesOf(CommonKorvaleClass::readListInFile(DataFileName::Clipboard)),
              (QStringList{"Beta", "gamma report", "zeta"}));
    EXPECT_EQ(view->counterLabel()->text(), "1 / 3");
    EXPECT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(posted(), QStringList{"SettingChanged"});
}

TEST_F(ManagerTest, TwoIdenticalEntriesAreBothKeptFoundAndRemovedOneAtATime)
{
    auto manager = makeManager();
    ClipboardSection *section = manager->clipboardSection();
    ClipboardEditorSheet *editor = section->editor();
    QGuiApplication::clipboard()->setText("Same words");
    int runs = 0;
    QObject::connect(editor, &ClipboardEditorSheet::running, editor, [&] {
        ++runs;
        // The clipboard's text is proposed as the title, its contents previewed.
        EXPECT_EQ(editor->titleField()->text(), "Same words");
        EXPECT_EQ(ClipboardView::describe(editor->preview()->clipboard()).text, "Same words");
        editor->accept();
    });
    section->addClipboard();
    section->addClipboard();
    ASSERT_EQ(runs, 2);

    const QVariantList saved = CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved.at(0), saved.at(1));
    section->view()->searchField()->setText("words");
    EXPECT_EQ(section->view()->model()->rowCount(), 2);

    selectRows(section->view(), {1});
    section->removeClipboard(section->view()->selectedRows());
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Clipboard),
              QVariantList{saved.at(0)});

    // A cancelled editor, and one confirmed without contents, add nothing.
    QObject::disconnect(editor, nullptr, nullptr, nullptr);
    QObject::connect(editor, &ClipboardEditorSheet::running, editor, [&] { editor->reject(); });
    section->addClipboard();
    EXPECT_EQ(section->entries().size(), 1);
}

TEST_F(ManagerTest, ThePasteButtonReplacesAnEditedEntrysTitleAndContents)
{
    QVariantMap old = entry("Old", "old text");
    old.insert("K", "kept nowhere");
    CommonKorvaleClass::saveListInFile({old, entry("Other", "o")}, DataFileName::Clipboard);
    auto manager = makeManager();
    ClipboardSection *section = manager->clipboardSection();
    ClipboardEditorSheet *editor = section->editor();

    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    auto *mime = new QMimeData;
    mime->setText("New title");
    mime->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(mime);
    QObject::connect(editor, &ClipboardEditorSheet::running, editor, [&] {
        EXPECT_EQ(editor->titleField()->text(), "Old");
        EXPECT_EQ(ClipboardView::describe(editor->preview()->clipboard()).text, "old text");
        editor->pasteButton()->click();
        editor->accept();
    });
    section->editClipboard(0);

    const QVariantList saved = CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
    ASSERT_EQ(saved.size(), 2);
    const QVariantMap edited = saved.at(0).toMap();
    EXPECT_EQ(edited.keys(), (QStringList{"T", "cb", "x"}));
    EXPECT_EQ(edited.value("T").toString(), "New title");
    // The picture comes first in the preview and in the row; its size is kept.
    const ItemClipboardCell::Drawn drawn = ItemClipboardCell::setClipboard(edited);
    EXPECT_EQ(drawn.label, "PNG picture");
    EXPECT_EQ(drawn.image.size(), QSize(8, 4));
}

TEST_F(ManagerTest, TheRowsAndThePreviewSayWhatAnEntryCannotShow)
{
    const ItemClipboardCell::Drawn untitled =
        ItemClipboardCell::setClipboard({{"x", 9}, {"cb", packedText("line one\nline\ttwo")}});
    EXPECT_EQ(untitled.title, "---");
    EXPECT_EQ(untitled.label, "Text");
    EXPECT_EQ(untitled.detail, "line one line two");

    // A web page's text is read as a browser shows it, not as its markup.
    const QByteArray page = PasteboardContents::pack(
        {{PasteboardContents::TypeHTML, QVariantMap{{"string", "<p><b>Bold</b>\nface</p>"}}}});
    EXPECT_EQ(ClipboardView::describe(page).text, "Bold face");
    EXPECT_EQ(ItemClipboardCell::setClipboard(ClipboardList::makeEntry("p", page)).label,
              "Web page content");

    // Only types the suite does not keep: an empty dictionary, still an entry.
    const QByteArray nothingKept = PasteboardContents::capture(nullptr);
    EXPECT_EQ(ClipboardView::describe(nothingKept).messageKey, "ClipboardUnknowType");
    EXPECT_EQ(ClipboardView::describe(QByteArray("not packed")).messageKey, "ClipboardUnknowType");
    EXPECT_EQ(ClipboardView::describe(std::nullopt).messageKey, "ClipboardEmpty");
    const QByteArray badPicture = PasteboardContents::pack(
        {{PasteboardContents::TypePNG, QVariantMap{{"data", QByteArray("no png")}}}});
    EXPECT_EQ(ClipboardView::describe(badPicture).messageKey, "ClipboardNoImageRep");
    EXPECT_EQ(ItemClipboardCell::setClipboard(ClipboardList::makeEntry("x", badPicture)).detail,
              "This picture cannot be shown");
}

TEST_F(ManagerTest, AnotherProgramsChangesAreShownAndKeptWhenTheManagerChangesTheList)
{
    CommonKorvaleClass::saveListInFile({entry("Mine", "m")}, DataFileName::Clipboard);
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    ClipboardSection *section = manager->clipboardSection();

    // korvale-clipboard's way: the file, then the notification.
    ClipboardStore other;
    QVariantList list = other.load();
    ClipboardList::add(list, "From a script", packedText("s"));
    other.save(list);
    ClipboardStore::tellAgentAndManager(*mNotifications);
    QCoreApplication::processEvents();
    EXPECT_EQ(titlesOf(section->entries()), (QStringList{"From a script", "Mine"}));

    // Changed again without a word: the manager's next change starts from the file.
    list = other.load();
    ClipboardList::add(list, "Quiet", packedText("q"));
    other.save(list);
    selectRows(section->view(), {1});
    section->removeClipboard(section->view()->selectedRows());
    EXPECT_EQ(titlesOf(CommonKorvaleClass::readListInFile(DataFileName::Clipboard)),
              (QStringList{"From a script", "Quiet"}));
}

// A change the file does not take is not shown as saved: the user is told which list and why,
// and the agent is not asked to reread a file that did not change.
TEST_F(ManagerTest, AClipboardChangeThatCouldNotBeSavedIsReported)
{
    CommonKorvaleClass::saveListInFile({entry("Mine", "m"), entry("Other", "o")},
                                       DataFileName::Clipboard);
    auto manager = makeManager();
    SaveFailureAlert::install(); // as the manager's main does
    ClipboardSection *section = manager->clipboardSection();
    ASSERT_EQ(section->entries().size(), 2);
    // The data file's name taken by a folder that is not empty: no file can replace it.
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Clipboard);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + "/inside"));

    QStringList alerts;
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [&alerts, poll] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            alerts << box->text() + " / " + box->informativeText();
            box->reject();
            poll->deleteLater();
        }
    });
    poll->start(10);
    const QPointer<QTimer> guard = poll;
    clearPosted();
    selectRows(section->view(), {0});
    section->removeClipboard(section->view()->selectedRows());
    QCoreApplication::processEvents(); // the alert comes from the event loop, not the save
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts.first().startsWith("\u201cClipboard Entries\u201d could not be saved / "
                                          "Something that is not a file stands in its place"))
        << qPrintable(alerts.first());
    EXPECT_FALSE(posted().contains("SettingChanged"));
    delete guard.data(); // still there when no alert came
    SaveFailures::setPresenter({});
}

// A password manager's copy is no entry: adding says why before the editor could show the
// password as a title, and an edit whose contents became the password leaves the entry as it was.
TEST_F(ManagerTest, APasswordManagersSecretIsRefusedAsAClipboardEntry)
{
    CommonKorvaleClass::saveListInFile({entry("Old", "old text")}, DataFileName::Clipboard);
    const QVariantList before = CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
    auto manager = makeManager();
    ClipboardSection *section = manager->clipboardSection();
    ClipboardEditorSheet *editor = section->editor();
    auto *mime = new QMimeData;
    mime->setText("Tr0ub4dor&3");
    mime->setData("x-kde-passwordManagerHint", "secret");
    QGuiApplication::clipboard()->setMimeData(mime);

    QStringList alerts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&alerts] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            alerts << box->text();
            box->reject();
        }
    });
    poll.start(10);
    int runs = 0;
    QObject::connect(editor, &ClipboardEditorSheet::running, editor, [&] {
        ++runs;
        editor->pasteButton()->click();
        EXPECT_EQ(editor->titleField()->text(), "Old") << "the password is no title";
        EXPECT_EQ(ClipboardView::describe(editor->preview()->clipboard()).text,
                  ClipboardSecret::maskedText());
        editor->accept();
    });
    clearPosted();
    section->addClipboard();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(alerts, QStringList{"A password is not kept"});
    section->editClipboard(0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(alerts.size(), 2);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Clipboard), before);
    EXPECT_EQ(titlesOf(section->entries()), QStringList{"Old"});
    EXPECT_FALSE(posted().contains("SettingChanged"));
}

// A Wayland desktop that offers no data control (GNOME) lets the suite read the clipboard only
// while one of its windows has the focus: the section says so there, and nowhere else.
TEST_F(ManagerTest, AWaylandDesktopWithoutDataControlIsToldTheClipboardNeedsTheFocus)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    mWayland = true; // no compositor answers this test: as a desktop offering nothing
    auto manager = makeManager();
    ClipboardSectionView *view = manager->clipboardSection()->view();
    ASSERT_TRUE(view->showsFocusNote());
    const auto *note = view->findChild<QLabel *>("focusNote");
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->text().contains("only while one of its windows has the focus"))
        << note->text().toStdString();

    const auto offering = [](QList<QByteArray> names) {
        return [names](const char *name) { return names.contains(QByteArray(name)); };
    };
    EXPECT_TRUE(SessionClipboard::currentOnlyWithFocus(true, offering({"wl_seat", "wl_shm"})));
    EXPECT_TRUE(SessionClipboard::currentOnlyWithFocus(true, {})) << "no compositor answered";
    EXPECT_FALSE(SessionClipboard::currentOnlyWithFocus(
        true, offering({"wl_seat", "zwlr_data_control_manager_v1"})));
    EXPECT_FALSE(
        SessionClipboard::currentOnlyWithFocus(true, offering({"ext_data_control_manager_v1"})));
    EXPECT_FALSE(SessionClipboard::currentOnlyWithFocus(false, {}));

    manager.reset();
    mWayland = false;
    EXPECT_FALSE(makeManager()->clipboardSection()->view()->showsFocusNote());
}
