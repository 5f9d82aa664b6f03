#include "FilesList.h"
#include "ItemEditing.h"
#include "ItemRecord.h"
#include "ListMerge.h"
#include "ManagerListFilter.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString ts(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QVariantMap app(const QString &title, const QString &path, const QVariantMap &more = {})
{
    QVariantMap record{{"x", 1}, {"T", title}, {"P", path}};
    record.insert(more);
    return record;
}

QStringList pathsOf(const QVariantList &list)
{
    QStringList paths;
    for (const QVariant &item : list)
        paths << item.toMap().value("P").toString();
    return paths;
}

void touch(const QString &path, const QByteArray &bytes = {})
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

} // namespace

TEST(ManagerListFilter, EveryWordMustOccurInSomeFieldWithAccentsIgnoredBothWays)
{
    const QVariantList records{
        app("Mail", "/usr/share/applications/org.gnome.Evolution.desktop", {{"K", "app"}}),
        app("Mailspring", "/opt/mailspring"),
        app(ts("Café Crème"), "/usr/bin/cafe"),
        QVariantMap{{"x", 3}, {"t", "cafe notes"}, {"U", "https://example.org/Mail-App"}},
        app("Maps", "/usr/bin/maps", {{"t", ""}}),
    };
    using F = ManagerListFilter;
    // Two spaces: an empty word between them, which every record has.
    EXPECT_EQ(F::search("mail  app", records), (QList<int>{0, 3}));
    EXPECT_EQ(F::search("MAIL APP", records), (QList<int>{0, 3}));
    EXPECT_EQ(F::search("cafe", records), (QList<int>{2, 3}));
    EXPECT_EQ(F::search(ts("CAFÉ"), records), (QList<int>{2, 3}));
    EXPECT_EQ(F::search(ts("crême"), records), (QList<int>{2}));
    EXPECT_EQ(F::search("  ", records), (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(F::search("", records), (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(F::search("mail zzz", records).isEmpty());
}

TEST(ManagerListFilter, CounterShowsShownOverTotalOnlyWhenRecordsAreFilteredOut)
{
    QVariantList records;
    for (int i = 0; i < 250; ++i)
        records << app(QStringLiteral("App %1").arg(i), i % 20 == 0 ? "/opt/editor" : "/opt/tool");
    const QList<int> shown = ManagerListFilter::search("editor", records);
    EXPECT_EQ(ManagerListFilter::counterText(shown.size(), records.size()), "13 / 250");
    EXPECT_EQ(ManagerListFilter::counterText(12, 250), "12 / 250");
    EXPECT_EQ(ManagerListFilter::counterText(ManagerListFilter::search("", records).size(), 250),
              "250");
}

TEST(ManagerListFilter, ActivityChoicesKeepApplicationsByDaysSinceLastUse)
{
    const QList<int> days{0, 7, 8, 30, 31, 180, 181, 900};
    QVariantList records;
    ManagerListFilter::ActivityMap activity;
    for (const int d : days) {
        const QString name = QStringLiteral("used%1").arg(d);
        records << app(name, "/usr/share/applications/" + name + ".desktop");
        activity.insert(name, d);
    }
    records << app("never", "/usr/share/applications/never.desktop");
    const int never = int(records.size()) - 1;

    using F = ManagerListFilter;
    auto kept = [&](int choice) { return F::search("", records, choice, activity); };
    EXPECT_EQ(kept(F::All).size(), records.size());
    EXPECT_EQ(kept(F::None), (QList<int>{never}));
    EXPECT_EQ(kept(F::VeryLow), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(kept(F::Low), (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(kept(F::Middle), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(kept(F::High), (QList<int>{0, 1}));
    // The words and the activity both have to let a record through.
    EXPECT_EQ(F::search("used1", records, F::High, activity), (QList<int>{}));
    EXPECT_EQ(F::search("used18", records, F::Low, activity), (QList<int>{5}));
    EXPECT_EQ(F::activityLevel(records.at(7).toMap(), activity), F::VeryLow);
}

class FilesListTest : public ::testing::Test
{
protected:
    TemporaryHome home;
    QString path(const QString &name) const { return home.path() + QLatin1Char('/') + name; }
};

TEST_F(FilesListTest, AddingKeepsOneRecordPerPathInFilesOrder)
{
    ASSERT_TRUE(QDir().mkpath(path("zeta")));
    touch(path("Beta.txt"));
    // Shown by its Name, so it sorts as "aardvark".
    touch(path("zz.desktop"), "[Desktop Entry]\nType=Application\nName=aardvark\nExec=true\n");

    QVariantList list{QVariantMap{{"x", 2}, {"T", "no path"}}};
    EXPECT_TRUE(FilesList::addPath(list, path("zeta")));
    EXPECT_TRUE(FilesList::addPath(list, path("Beta.txt")));
    EXPECT_TRUE(FilesList::addPath(list, path("zz.desktop")));
    EXPECT_TRUE(FilesList::addPath(list, path("alpha-gone")));
    const QVariantList before = list;
    EXPECT_FALSE(FilesList::addPath(list, path("zeta")));
    EXPECT_EQ(list, before);

    EXPECT_EQ(
        pathsOf(list),
        (QStringList{"", path("zz.desktop"), path("alpha-gone"), path("Beta.txt"), path("zeta")}));
    EXPECT_EQ(list.at(1).toMap(),
              (QVariantMap{{"x", 2}, {"T", "aardvark"}, {"P", path("zz.desktop")}, {"D", 0}}));
    EXPECT_EQ(list.at(4).toMap().value("D"), 1);
    EXPECT_EQ(list.at(4).toMap().value("T"), "zeta");
}

TEST_F(FilesListTest, RemovingUnderAFilterRemovesExactlyTheSelectedShownRecords)
{
    QVariantList list;
    for (const char *name : {"a-doc", "b", "c-doc", "d-doc", "e", "f-doc"})
        list << QVariantMap{{"x", 2}, {"T", name}, {"P", QStringLiteral("/x/") + name}};
    const QList<int> shown = ManagerListFilter::search("doc", list);
    ASSERT_EQ(shown, (QList<int>{0, 2, 3, 5}));
    // Rows in any order, repeated, or beyond the table.
    FilesList::removeRows(list, shown, {3, 1, 3, 9, -1});
    EXPECT_EQ(pathsOf(list), (QStringList{"/x/a-doc", "/x/b", "/x/d-doc", "/x/e"}));
}

TEST_F(FilesListTest, IncludeContentsIsSetOnlyOnFolders)
{
    QVariantList list{
        QVariantMap{{"x", 2}, {"P", "/f"}, {"D", 0}},
        QVariantMap{{"x", 2}, {"P", "/d"}, {"D", 1}},
        QVariantMap{{"x", 2}, {"P", "/e"}, {"D", 1}, {"F", 1}},
    };
    EXPECT_EQ(FilesList::setIncludeContents(list, {0, 1}, true), 1);
    EXPECT_FALSE(list.at(0).toMap().contains("F"));
    EXPECT_EQ(list.at(1).toMap().value("F"), 1);
    EXPECT_EQ(FilesList::setIncludeContents(list, {0, 1, 2}, false), 2);
    EXPECT_EQ(list.at(1).toMap().value("F"), 0);
    EXPECT_EQ(list.at(2).toMap().value("F"), 0);
    EXPECT_FALSE(list.at(0).toMap().contains("F"));
}

TEST_F(FilesListTest, DefaultsAreTheHomeAndTheUserFoldersThatExistWithTheirContents)
{
    const QString homeName = QDir(home.path()).dirName();
    auto expected = [](const QString &folder, const QString &title, bool contents) {
        QVariantMap record{{"x", 2}, {"T", title}, {"P", folder}, {"D", 1}};
        if (contents)
            record.insert("F", 1);
        return QVariant(record);
    };
    EXPECT_EQ(FilesList::defaultFilesList(), (QVariantList{expected(home.path(), homeName, false)}));

    ASSERT_TRUE(QDir().mkpath(path("Documents")));
    const QVariantList both = FilesList::defaultFilesList();
    ASSERT_EQ(both.size(), 2);
    EXPECT_TRUE(both.contains(expected(path("Documents"), "Documents", true)));
    // Files order over the two names, whatever the temporary folder is called.
    QVariantList resorted{both.at(1), both.at(0)};
    FilesList::sort(resorted);
    EXPECT_EQ(resorted, both);

    // The desktop's folders as it names them; one that does not exist and one turned off (the
    // home itself) are left out.
    ASSERT_TRUE(QDir().mkpath(path(".config")));
    ASSERT_TRUE(QDir().mkpath(path("Bureau")));
    ASSERT_TRUE(QDir().mkpath(path("Mes documents")));
    touch(path(".config/user-dirs.dirs"),
          "# xdg-user-dirs\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DOWNLOAD_DIR=\"$HOME/Gone\"\n"
          "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\nXDG_MUSIC_DIR=\"$HOME/\"\n");
    const QVariantList named = FilesList::defaultFilesList();
    EXPECT_EQ(named.size(), 3);
    EXPECT_TRUE(named.contains(expected(path("Bureau"), "Bureau", true)));
    EXPECT_TRUE(named.contains(expected(path("Mes documents"), "Mes documents", true)));

    // A desktop with the documents folder turned off names the home folder for it.
    touch(path(".config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
    EXPECT_EQ(FilesList::defaultFilesList().size(), 1);
}

TEST_F(FilesListTest, ApplicationFoldersTakeOnlyNewExistingFolders)
{
    ASSERT_TRUE(QDir().mkpath(path("apps")));
    touch(path("file"));
    QStringList folders{"/usr/share/applications"};
    EXPECT_TRUE(FilesList::addApplicationFolder(folders, path("apps")));
    EXPECT_FALSE(FilesList::addApplicationFolder(folders, path("apps")));
    EXPECT_FALSE(FilesList::addApplicationFolder(folders, path("file")));
    EXPECT_FALSE(FilesList::addApplicationFolder(folders, path("missing")));
    EXPECT_EQ(folders, (QStringList{"/usr/share/applications", path("apps")}));
}

TEST(ItemEditing, TheEditorChangesOnlyItsFieldsAndTheTitleOnlyWhenEditable)
{
    const QVariantMap untitled{{"x", 2},
                               {"P", "/home/u/report.final.odt"},
                               {">", QByteArray(16, 1)},
                               {"K", "old"},
                               {"H", 1}};
    const ItemEditorFields shown = ItemEditing::fieldsFor(untitled);
    EXPECT_EQ(shown, (ItemEditorFields{"report.final", "", "old", "", true}));

    const ItemEditorFields typed{"Typed title", "rp", "", "note", false};
    QVariantMap expected = untitled;
    expected.insert({{"A", "rp"}, {"K", ""}, {"t", "note"}, {"H", 0}});
    EXPECT_EQ(ItemEditing::applyFields(untitled, typed, false), expected);
    expected.insert("T", "Typed title");
    EXPECT_EQ(ItemEditing::applyFields(untitled, typed, true), expected);

    EXPECT_EQ(ItemEditing::initialTitle(app("Mail", "/opt/x.app")), "Mail");
}

TEST(ItemEditing, AnEditedApplicationGoesBackInTitleOrder)
{
    QVariantList apps{app("alpha", "/a"), app("Beta", "/b"), app("gamma", "/g")};
    ListMerge::applyEdit(apps, app("alpha", "/a"), app("Zulu", "/a"), &ListMerge::byPath);
    ItemEditing::sortApplications(apps);
    EXPECT_EQ(pathsOf(apps), (QStringList{"/b", "/g", "/a"}));
    ListMerge::applyEdit(apps, app("gamma", "/g"), QVariantMap{{"x", 1}, {"P", "/g"}},
                         &ListMerge::byPath);
    ItemEditing::sortApplications(apps);
    EXPECT_EQ(pathsOf(apps), (QStringList{"/g", "/b", "/a"}));
}
