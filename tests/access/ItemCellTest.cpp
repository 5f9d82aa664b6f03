#include "ItemCell.h"

#include "FoundItemsModel.h"
#include "ItemRecord.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

using namespace ItemRecord;

namespace {

QVariantMap rec(int kind, const QVariantMap &more)
{
    QVariantMap map = more;
    map.insert(KeyKind, kind);
    return map;
}

TEST(ItemCell, TitleFallsBackToTheFileNameOrTheAddress)
{
    EXPECT_EQ(ItemCell::titleFor(rec(1, {{KeyTitle, "Files"}, {KeyPath, "/a/b.desktop"}})),
              "Files");
    EXPECT_EQ(ItemCell::titleFor(rec(2, {{KeyPath, "/home/me/Report.pdf"}})), "Report.pdf");
    EXPECT_EQ(ItemCell::titleFor(rec(10, {{KeyPath, "/home/me/Photos/"}})), "Photos");
    EXPECT_EQ(ItemCell::titleFor(rec(3, {{KeyAddress, "https://example.org"}})),
              "https://example.org");
    EXPECT_EQ(ItemCell::titleFor(rec(5, {{KeyText, "no title"}})), "");
    EXPECT_EQ(ItemCell::titleFor(rec(5, {{KeyTitle, "two\nlines"}})), "two lines");
}

TEST(ItemCell, SecondLineByKind)
{
    EXPECT_EQ(ItemCell::secondLineFor(
                  rec(3, {{KeyTitle, "Example"}, {KeyAddress, "https://example.org"}})),
              "https://example.org");
    EXPECT_EQ(ItemCell::secondLineFor(rec(3, {{KeyAddress, "https://example.org"}})), "")
        << "the address is already the title";
    EXPECT_EQ(ItemCell::secondLineFor(rec(4, {{KeyTitle, "Ann"}, {KeyPhone, "mobile\t+33 6 12"}})),
              "mobile +33 6 12");
    EXPECT_EQ(
        ItemCell::secondLineFor(rec(5, {{KeyTitle, "List"}, {KeyText, "milk\neggs\r\nbread"}})),
        "milk eggs bread");
    EXPECT_EQ(ItemCell::secondLineFor(rec(6, {{KeyText, "secret\nthing"}})), "secret thing");
    EXPECT_EQ(ItemCell::secondLineFor(rec(7, {{KeyValLast, "2026-12-08, 123.45, +1.2%"}})),
              "123.45");
    EXPECT_EQ(ItemCell::secondLineFor(rec(7, {{KeyValLast, "nothing"}})), "");
    EXPECT_EQ(ItemCell::secondLineFor(rec(1, {{KeyTitle, "App"}, {KeyText, "comment"}})), "");
    EXPECT_EQ(ItemCell::secondLineFor(rec(2, {{KeyPath, "/tmp"}})), "");
    EXPECT_EQ(ItemCell::secondLineFor(rec(9, {{KeyTitle, "Empty"}})), "");
}

TEST(ItemCell, ArrowOnlyOnRowsWithAFloatingMenu)
{
    for (int kind : {1, 2, 9, 10})
        EXPECT_TRUE(ItemCell::hasFloatingMenu(kind)) << kind;
    for (int kind : {3, 4, 5, 6, 7, 8, 11, 12})
        EXPECT_FALSE(ItemCell::hasFloatingMenu(kind)) << kind;
    EXPECT_FALSE(ItemCell::isPathKind(9));
}

TEST(ItemCell, ApplicationIconComesFromItsDesktopEntry)
{
    TemporaryHome home;
    // An icon file named by absolute path, as some entries do.
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const QString iconPath = home.path() + "/red.png";
    ASSERT_TRUE(red.save(iconPath));
    const QString entry = home.path() + "/red.desktop";
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=Red\nIcon=" + iconPath.toUtf8()
               + "\nExec=true\n[Desktop Action x]\nIcon=other\n");
    file.close();
    const QImage drawn = ItemCell::iconForPath(entry, 1).pixmap(16, 16).toImage();
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.pixelColor(8, 8), QColor(Qt::red));
}

// Paints one row of each kind and looks at the right end, where the arrow goes.
TEST(ItemCell, PaintsTheArrowAtTheRightEnd)
{
    ItemCell cell;
    QStandardItemModel model(1, 1);
    auto inkAtRightEnd = [&](const QVariantMap &record) {
        model.setData(model.index(0, 0), record, FoundItemsModel::RecordRole);
        QImage image(300, ItemCell::RowHeight, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.state = QStyle::State_Enabled;
        option.font = QFont();
        cell.paint(&painter, option, model.index(0, 0));
        painter.end();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = image.width() - 20; x < image.width(); ++x)
                inked += image.pixelColor(x, y) != QColor(Qt::white);
        }
        return inked;
    };
    EXPECT_GT(inkAtRightEnd(rec(2, {{KeyPath, "/tmp"}})), 0);
    EXPECT_EQ(inkAtRightEnd(rec(5, {{KeyTitle, "Note"}})), 0);
}

} // namespace
