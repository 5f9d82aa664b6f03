#include "ListMerge.h"
#include "CommonKorvaleClass.h"
#include "ListFile.h"
#include "TestEnvironment.h"
#include "ToDoItems.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QVariantMap app(const QString &path, const QString &abbreviation = {})
{
    QVariantMap record{{"x", 1}, {"T", path.mid(1)}, {"P", path}};
    if (!abbreviation.isEmpty())
        record.insert("A", abbreviation);
    return record;
}

QVariantMap task(const QString &title, bool done = false)
{
    return ToDoItems::newRecord(title, QDateTime(QDate(2027, 5, 3), QTime(9, 0), QTimeZone::utc()),
                                done);
}

// "path=abbreviation" or "title(+ when done)", sorted: the merge leaves order to the callers.
QStringList described(const QVariantList &list)
{
    QStringList out;
    for (const QVariant &item : list) {
        const QVariantMap record = item.toMap();
        if (record.contains("P"))
            out << record.value("P").toString() + "=" + record.value("A").toString();
        else
            out << record.value("T").toString() + (record.value("Done").toInt() ? "+" : "");
    }
    out.sort();
    return out;
}

struct Case {
    const char *what;
    QVariantList base, ours, theirs;
    bool byPath;
    QStringList expected;
};

} // namespace

TEST(ListMerge, KeepsWhatEachSideChangedAndWhatWasEditedHereWhenBothDid)
{
    const QVariantMap a = app("/a"), b = app("/b"), c = app("/c");
    const QVariantMap t1 = task("one"), t2 = task("two"), t3 = task("three");
    const Case cases[] = {
        {"changed here only", {a, b}, {a, app("/b", "bb")}, {a, b}, true, {"/a=", "/b=bb"}},
        {"changed there only", {a, b}, {a, b}, {app("/a", "aa"), b}, true, {"/a=aa", "/b="}},
        {"changed on both sides: as edited here",
         {a},
         {app("/a", "here")},
         {app("/a", "there")},
         true,
         {"/a=here"}},
        {"removed here, unchanged there", {a, b}, {a}, {a, b}, true, {"/a="}},
        {"removed here, changed there: the change stays",
         {a, b},
         {a},
         {a, app("/b", "bb")},
         true,
         {"/a=", "/b=bb"}},
        {"changed here, removed there: the edit stays",
         {a, b},
         {a, app("/b", "bb")},
         {a},
         true,
         {"/a=", "/b=bb"}},
        {"unchanged here, removed there", {a, b}, {a, b}, {a}, true, {"/a="}},
        {"added on each side", {a}, {a, b}, {a, c}, true, {"/a=", "/b=", "/c="}},
        {"added on both sides under one path: as here",
         {},
         {app("/b", "here")},
         {app("/b", "there")},
         true,
         {"/b=here"}},
        {"nothing changed there", {a, b}, {b, c}, {a, b}, true, {"/b=", "/c="}},
        // Without identity of their own, records are values: an edit is a removal and an addition.
        {"ticked off there, added here",
         {t1, t2},
         {t1, t2, t3},
         {task("one", true), t2},
         false,
         {"one+", "three", "two"}},
        {"the same value changed on both sides: both kept",
         {t1},
         {task("one", true)},
         {task("uno")},
         false,
         {"one+", "uno"}},
        {"one of two equal values removed here",
         {t1, t1},
         {t1},
         {t1, t1, t2},
         false,
         {"one", "two"}},
        {"removed on both sides", {t1, t2}, {t2}, {t2}, false, {"two"}},
        {"added on both sides: both kept", {}, {t1}, {t1}, false, {"one", "one"}},
    };
    for (const Case &c : cases) {
        const ListMerge::Identity identity =
            c.byPath ? ListMerge::Identity(&ListMerge::byPath) : ListMerge::Identity();
        EXPECT_EQ(described(ListMerge::merge(c.base, c.ours, c.theirs, identity)), c.expected)
            << c.what;
        // What the file holds is what this program read: its own list is saved as it is.
        EXPECT_EQ(described(ListMerge::merge(c.base, c.ours, c.base, identity)), described(c.ours))
            << c.what;
    }
}

TEST(ListFile, ASaveKeepsWhatAnotherProgramSavedSinceTheRead)
{
    TemporaryHome home;
    CommonKorvaleClass::saveListInFile({task("one"), task("two")}, DataFileName::ToDo);
    ListFile mine(DataFileName::ToDo, {}, &ToDoItems::sort);
    ListFile other(DataFileName::ToDo, {}, &ToDoItems::sort);
    QVariantList list = mine.read();
    QVariantList theirs = other.read();
    EXPECT_FALSE(mine.changedOnDisk());

    theirs[0] = task("one", true);
    ASSERT_TRUE(other.save(theirs));
    EXPECT_TRUE(mine.changedOnDisk());

    list.append(task("three"));
    ASSERT_TRUE(mine.save(list));
    EXPECT_EQ(described(list), (QStringList{"one+", "three", "two"}));
    EXPECT_EQ(described(CommonKorvaleClass::readListInFile(DataFileName::ToDo)), described(list));
    EXPECT_FALSE(mine.changedOnDisk());
}
