#include "ManagerFixture.h"

#include "CornerActivationSheet.h"
#include "ItemEditorSheet.h"
#include "KeyActivationSheet.h"
#include "ManagerWindow.h"
#include "PreferencesSheet.h"
#include "SectionIcons.h"
#include "ShortcutCaptureSheet.h"
#include "StartupSheets.h"

#include <QDialogButtonBox>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

namespace {

QImage pictureOf(const QIcon &icon)
{
    return icon.pixmap(SectionIcons::Size, SectionIcons::Size)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

// The desktop's icon theme for the length of a test.
class IconThemeScope
{
public:
    IconThemeScope(const QStringList &searchPaths, const QString &theme)
        : mPaths(QIcon::themeSearchPaths())
        , mTheme(QIcon::themeName())
        , mFallback(QIcon::fallbackThemeName())
    {
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(theme);
        QIcon::setFallbackThemeName(theme);
    }
    ~IconThemeScope()
    {
        QIcon::setThemeSearchPaths(mPaths);
        QIcon::setThemeName(mTheme);
        QIcon::setFallbackThemeName(mFallback);
    }

private:
    QStringList mPaths;
    QString mTheme;
    QString mFallback;
};

} // namespace

TEST(ManagerLook, UnderABareThemeEverySectionShowsTheSuitesOwnSquareIcon)
{
    IconThemeScope bare({}, QStringLiteral("korvale-none"));
    ManagerWindow window;
    QListWidget *list = window.sectionList();
    for (int section = 0; section < ManagerWindow::SectionCount; ++section) {
        const QIcon shown = list->item(section)->icon();
        ASSERT_FALSE(shown.isNull()) << section;
        const QImage own = pictureOf(SectionIcons::ownIcon(section));
        ASSERT_FALSE(own.isNull()) << section;
        // The style's stock pictures (a warning sign for the protected notes, a red cross for
        // the help) are what a bare theme used to give.
        EXPECT_EQ(pictureOf(shown), own) << "section " << section;
        EXPECT_EQ(shown.actualSize(list->iconSize()), list->iconSize()) << section;
    }
    // The protected notes are a lock, not the notes' picture again.
    EXPECT_NE(pictureOf(SectionIcons::ownIcon(ManagerWindow::ProtectedNotes)),
              pictureOf(SectionIcons::ownIcon(ManagerWindow::Notes)));
}

TEST(ManagerLook, AThemeIconIsUsedWhereTheThemeHasOneAndDrawnOnTheSameSquare)
{
    // A theme holding only a wide "user-home": the welcome section takes it, drawn on the
    // square every other section has, so the names still line up.
    QTemporaryDir themes;
    const QString folder = themes.path() + "/partial/32x32/places";
    QDir().mkpath(folder);
    QFile index(themes.path() + "/partial/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=partial\nDirectories=32x32/places\n\n"
                "[32x32/places]\nSize=32\nType=Fixed\n");
    index.close();
    QImage wide(32, 12, QImage::Format_ARGB32);
    wide.fill(Qt::red);
    ASSERT_TRUE(wide.save(folder + "/user-home.png"));

    IconThemeScope partial({themes.path()}, QStringLiteral("partial"));
    ManagerWindow window;
    QListWidget *list = window.sectionList();
    const QIcon welcome = list->item(ManagerWindow::Welcome)->icon();
    EXPECT_NE(pictureOf(welcome), pictureOf(SectionIcons::ownIcon(ManagerWindow::Welcome)));
    EXPECT_EQ(qRed(pictureOf(welcome).pixel(SectionIcons::Size / 2, SectionIcons::Size / 2)), 255);
    for (int section = 0; section < ManagerWindow::SectionCount; ++section)
        EXPECT_EQ(list->item(section)->icon().actualSize(list->iconSize()), list->iconSize())
            << section;
    EXPECT_EQ(pictureOf(list->item(ManagerWindow::ProtectedNotes)->icon()),
              pictureOf(SectionIcons::ownIcon(ManagerWindow::ProtectedNotes)));
}

class ManagerLookTest : public ManagerTest
{
protected:
    void useLanguage(const char *language)
    {
        QOR_StringUtils::installTranslations(QLocale(QString::fromLatin1(language)));
    }
    void TearDown() override
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    }
};

TEST_F(ManagerLookTest, TheSectionListShowsEveryNameWholeInEnglishAndFrenchAndTheDividerMoves)
{
    for (const char *language : {"en", "fr"}) {
        SCOPED_TRACE(language);
        useLanguage(language);
        auto manager = makeManager();
        ManagerWindow *window = manager->window();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QListWidget *list = window->sectionList();
        for (int row = 0; row < list->count(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            EXPECT_GE(list->viewport()->width(), list->sizeHintForIndex(index).width())
                << list->item(row)->text().toStdString();
        }

        // The window opens with room for the divider to travel, as far as the screen allows
        // (the test's screen may be small); given that room, the divider goes right some way,
        // and back left no further than the longest name.
        const int minimum = window->minimumSizeHint().width();
        const int available = window->screen()->availableGeometry().width();
        EXPECT_GE(window->width(),
                  qMax(minimum, qMin(minimum + ManagerWindow::DividerTravel, available)));
        window->resize(minimum + ManagerWindow::DividerTravel, window->height());
        QSplitter *splitter = window->splitter();
        QWidget *handle = splitter->handle(1);
        const int before = splitter->sizes().at(0);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(60, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
        EXPECT_EQ(splitter->sizes().at(0), before + 60);
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip - QPoint(400, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(400, 0));
        EXPECT_EQ(splitter->sizes().at(0), window->sectionNamesWidth());
        window->close();
    }
}

TEST_F(ManagerLookTest, AFrenchSessionHasFrenchMenusAndQtsOwnButtonsInFrench)
{
    useLanguage("fr");
    auto manager = makeManager();
    QStringList menus;
    QStringList entries;
    for (QAction *menu : manager->window()->menuBar()->actions()) {
        menus << menu->text();
        for (QAction *entry : menu->menu()->actions())
            entries << entry->text();
    }
    EXPECT_EQ(menus, QStringList({"É&dition", "&Aide"}));
    EXPECT_EQ(
        entries,
        QStringList({"Préférences…", "Réexaminer les applications", "Activité des applications…",
                     "Bienvenue dans Korvale", "À propos de Korvale"}));

    ItemEditorSheet sheet;
    auto *buttons = sheet.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().remove(u'&'), "Annuler")
        << "Qt's own texts come from Debian's qt6-translations-l10n";
}

TEST_F(ManagerLookTest, WindowTitlesAreNamesWithoutEllipsisOrColon)
{
    for (const char *language : {"en", "fr"}) {
        SCOPED_TRACE(language);
        useLanguage(language);
        auto manager = makeManager();
        ItemEditorSheet item;
        ShortcutCaptureSheet shortcut(&mKeyboard);
        KeyActivationSheet keys(&mKeyboard);
        CornerActivationSheet corner;
        PreferencesSheet preferences;
        AgreementSheet agreement(QStringLiteral("licence"));
        AboutBox about(QStringLiteral("1.0"));
        TourWindow tour;
        for (QWidget *window :
             std::initializer_list<QWidget *>{manager->window(), &item, &shortcut, &keys, &corner,
                                              &preferences, &agreement, &about, &tour}) {
            const QString title = window->windowTitle();
            EXPECT_FALSE(title.isEmpty()) << window->metaObject()->className();
            for (const QString &ending :
                 {QStringLiteral("…"), QStringLiteral("..."), QStringLiteral(":")})
                EXPECT_FALSE(title.trimmed().endsWith(ending)) << title.toStdString();
        }
        EXPECT_NE(item.windowTitle(), shortcut.windowTitle());
    }
}
