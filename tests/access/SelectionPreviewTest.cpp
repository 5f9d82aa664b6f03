#include "SelectionPreview.h"
#include "QOR_StringUtils.h"

#include "ApplicationVersion.h"
#include "ItemRecord.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <tuple>

#include <gtest/gtest.h>

using namespace ItemRecord;

namespace {

QVariantMap rec(int kind, const QVariantMap &more)
{
    QVariantMap map = more;
    map.insert(KeyKind, kind);
    return map;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

class SelectionPreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mMetainfo.isValid());
        ApplicationVersion::setMetainfoFolders({mMetainfo.path()});
    }
    void TearDown() override
    {
        ApplicationVersion::setMetainfoFolders({});
        SelectionPreview::setContactPictureLookup({});
        SelectionPreview::setStockRecordLookup({});
    }

    TemporaryHome mHome;
    QTemporaryDir mMetainfo;
};

TEST_F(SelectionPreviewTest, ApplicationShowsItsPathVersionKeywordsAndComment)
{
    const QString entry = mHome.path() + "/.local/share/applications/org.example.Tool.desktop";
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=Example Tool\nExec=true\n");
    writeFile(mMetainfo.path() + "/org.example.Tool.metainfo.xml",
              "<component type=\"desktop-application\"><id>org.example.Tool</id>"
              "<releases><release version=\"2.1\"/></releases></component>");

    const QVariantMap app =
        rec(KindApplication, {{KeyPath, entry}, {KeyKeywords, "build tools"}, {KeyText, "mine"}});
    EXPECT_EQ(SelectionPreview::previewText(app),
              "~/.local/share/applications/org.example.Tool.desktop\n(2.1)\nbuild tools\nmine")
        << "home as ~, the entry's own file, then the version, the keywords and the comment";

    QFile::remove(mMetainfo.path() + "/org.example.Tool.metainfo.xml");
    EXPECT_EQ(SelectionPreview::previewText(rec(KindApplication, {{KeyPath, entry}})),
              "~/.local/share/applications/org.example.Tool.desktop")
        << "no metadata, no version line";
}

// The typed word is marked where the search found it: in the entry's file name or its
// keywords, never in a folder name that only happens to hold the same letters.
TEST_F(SelectionPreviewTest, HighlightOnlyWhereTheSearchLooked)
{
    const QString entry = mHome.path() + "/.local/share/applications/org.gnome.Calculator.desktop";
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=Calculator\nExec=true\n");
    const SelectionPreviewContent app = SelectionPreview::build(
        rec(KindApplication, {{KeyPath, entry}, {KeyKeywords, "local sums"}}));
    const auto marked = [&](const SelectionPreviewContent &content, const QString &query) {
        const auto range = TextMatching::previewSelection(query, content.text, content.searched);
        return range ? content.text.mid(range->offset, range->length) : QStringLiteral("-");
    };
    const qsizetype name = app.text.indexOf("Calculator");
    const auto cal = TextMatching::previewSelection("cal", app.text, app.searched);
    ASSERT_TRUE(cal);
    EXPECT_EQ(cal->offset, name) << "not inside .local";
    EXPECT_EQ(marked(app, "gnome"), "gnome");
    EXPECT_EQ(marked(app, "share"), "-") << "the folders above the entry are not searched";
    EXPECT_EQ(marked(app, "local"), "local") << "the keywords are";
    EXPECT_EQ(app.text.indexOf("local sums"),
              TextMatching::previewSelection("local", app.text, app.searched)->offset);

    const QString file = mHome.path() + "/calendars/Budget.ods";
    writeFile(file, "x");
    const SelectionPreviewContent budget =
        SelectionPreview::build(rec(KindFile, {{KeyPath, file}}));
    EXPECT_EQ(marked(budget, "cal"), "-");
    EXPECT_EQ(TextMatching::previewSelection("bud", budget.text, budget.searched)->offset,
              budget.text.lastIndexOf("Budget"))
        << "in the path itself, the last line";
}

TEST_F(SelectionPreviewTest, FileShowsItsDisplayPathThenThePathItself)
{
    const QString file = mHome.path() + "/Documents/Report 2026.pdf";
    writeFile(file, "x");
    for (int kind : {KindFile, KindPasteboardPath}) {
        EXPECT_EQ(SelectionPreview::previewText(rec(kind, {{KeyPath, file}})),
                  "~/Documents/Report 2026.pdf\n\n" + file);
        EXPECT_EQ(SelectionPreview::previewText(rec(kind, {{KeyTitle, "No path"}})), "")
            << "a file without a path shows nothing";
    }
    EXPECT_EQ(SelectionPreview::previewText(rec(KindFile, {{KeyPath, "/nowhere/at all.txt"}})),
              "/nowhere/at all.txt\n\n/nowhere/at all.txt");
    EXPECT_EQ(SelectionPreview::displayPath(mHome.path()), "~");
    EXPECT_EQ(SelectionPreview::displayPath(mHome.path() + "-other/x"), mHome.path() + "-other/x")
        << "a folder whose name only begins like home's is not home";
}

TEST_F(SelectionPreviewTest, BookmarkShowsTheAddressThenTheTitle)
{
    EXPECT_EQ(SelectionPreview::previewText(
                  rec(KindBookmark, {{KeyAddress, "https://example.org/"}, {KeyTitle, "Example"}})),
              "https://example.org/\nExample");
    EXPECT_EQ(SelectionPreview::previewText(rec(KindBookmark, {{KeyAddress, "example.org"}})),
              "example.org");
    EXPECT_EQ(SelectionPreview::previewText(rec(KindBookmark, {{KeyTitle, "Example"}})),
              "\nExample");
}

TEST_F(SelectionPreviewTest, ContactShowsItsCardAndItsFirstPhoneInTheDetail)
{
    QString askedUid;
    QImage face(8, 8, QImage::Format_RGB32);
    face.fill(Qt::red);
    SelectionPreview::setContactPictureLookup([&](const QString &uid) {
        askedUid = uid;
        return face;
    });
    const QVariantMap ann = rec(KindContact,
                                {{KeyTitle, "Ann Lee"},
                                 {KeyText, "Ann Lee\nmobile\t+33 6 12\tpro"},
                                 {KeyUID, "uid-1"},
                                 {KeyPhone, "mobile\t+33 6 12\nhome\t01 02"},
                                 {KeyEmail, "work\tann@example.org"}});
    const SelectionPreviewContent content = SelectionPreview::build(ann);
    EXPECT_EQ(content.text, "Ann Lee\nmobile\t+33 6 12\tpro");
    EXPECT_TRUE(content.isContact);
    EXPECT_EQ(content.detailText, "mobile +33 6 12");
    EXPECT_TRUE(content.showEmailButton);
    EXPECT_EQ(askedUid, "uid-1");
    EXPECT_EQ(content.image, face);

    QVariantMap bob = rec(KindContact, {{KeyTitle, "Bob"}, {KeyPhone, "\nwork\t05 06\nhome\t07"}});
    const SelectionPreviewContent second = SelectionPreview::build(bob);
    EXPECT_EQ(second.text, "Bob") << "the title when there is no card text";
    EXPECT_EQ(second.detailText, "work 05 06") << "the first phone line is empty: the second";
    EXPECT_FALSE(second.showEmailButton);

    bob.insert(KeyEmail, "\n");
    bob.insert(KeyPhone, "");
    EXPECT_EQ(SelectionPreview::build(bob).detailText, "");
    EXPECT_FALSE(SelectionPreview::build(bob).showEmailButton) << "blank e-mail lines are none";
}

TEST_F(SelectionPreviewTest, NotesShowTitleKeywordsAndText)
{
    for (int kind : {KindNote, KindProtectedNote}) {
        EXPECT_EQ(SelectionPreview::previewText(rec(
                      kind, {{KeyTitle, "Shopping"}, {KeyKeywords, "food"}, {KeyText, "milk"}})),
                  "Shopping\nfood\nmilk");
        EXPECT_EQ(SelectionPreview::previewText(rec(kind, {{KeyTitle, "Empty"}})), "Empty");
        EXPECT_EQ(SelectionPreview::previewText(rec(kind, {{KeyText, "untitled"}})), "\nuntitled");
    }
}

TEST_F(SelectionPreviewTest, StockShowsItsFiguresFromTheAgentsOwnEntry)
{
    const QVariantMap shown = rec(KindStock,
                                  {{KeyTitle, "ACME"},
                                   {KeyValLast, "ACME,11.11,x\r\n"},
                                   {KeyValLastShown, "10.5"},
                                   {KeyValMax, "9.75"},
                                   {KeyValMin, "14.25"}});
    const QString text = SelectionPreview::previewText(shown);
    const qsizetype value = text.indexOf("11.11");
    const qsizetype last = text.indexOf("10.5");
    const qsizetype lower = text.indexOf("9.75");
    const qsizetype upper = text.indexOf("14.25");
    const qsizetype whole = text.indexOf("ACME,11.11,x");
    ASSERT_TRUE(value >= 0 && last >= 0 && lower >= 0 && upper >= 0 && whole >= 0)
        << qPrintable(text);
    EXPECT_TRUE(value < last && last < lower && lower < upper && upper < whole) << qPrintable(text);
    EXPECT_FALSE(text.contains("SurveyStocksInfos")) << "never the bare key";
    EXPECT_TRUE(text.endsWith("(ACME,11.11,x)")) << "the quote's line end left out";

    EXPECT_TRUE(SelectionPreview::previewText(
                    rec(KindStock, {{KeyTitle, "ACME"}, {KeyValLast, "ACME,11.11"}}))
                    .startsWith("???"))
        << "fewer than three fields";

    QVariantMap own = shown;
    own.insert(KeyValLast, "ACME,22.22,y");
    QString askedTitle;
    SelectionPreview::setStockRecordLookup([&](const QString &title) -> std::optional<QVariantMap> {
        askedTitle = title;
        return own;
    });
    EXPECT_TRUE(SelectionPreview::previewText(shown).startsWith("22.22"));
    EXPECT_EQ(askedTitle, "ACME");
}

// "ValMax" is the lower limit and "ValMin" the upper one, whatever their names say: the preview
// labels each by what it does, in both languages.
TEST_F(SelectionPreviewTest, StockLimitsAreLabelledByWhatTheyDo)
{
    const QVariantMap stock = rec(KindStock,
                                  {{KeyTitle, "ACME"},
                                   {KeyValLast, "ACME,11.11,x"},
                                   {KeyValMax, "9.75"},
                                   {KeyValMin, "14.25"}});
    for (const auto &[language, below, above] :
         {std::tuple<QString, QString, QString>{"en", "below", "above"},
          {"fr", "dessous", "dessus"}}) {
        ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage(language));
        const QStringList lines = SelectionPreview::previewText(stock).split('\n');
        const QString lower = lines.filter("9.75").value(0);
        const QString upper = lines.filter("14.25").value(0);
        EXPECT_TRUE(lower.contains(below) && !lower.contains(above)) << qPrintable(lower);
        EXPECT_TRUE(upper.contains(above) && !upper.contains(below)) << qPrintable(upper);
    }
    QOR_StringUtils::setLocalizationLanguage("");
}

TEST_F(SelectionPreviewTest, OtherKindsShowNothing)
{
    for (int kind : {0, int(KindToDo), int(KindReminder), int(KindCalendarEvent), 99}) {
        const SelectionPreviewContent content =
            SelectionPreview::build(rec(kind, {{KeyTitle, "Something"}, {KeyText, "text"}}));
        EXPECT_EQ(content.text, "") << kind;
        EXPECT_TRUE(content.image.isNull());
        EXPECT_FALSE(content.isContact);
    }
}

} // namespace
