#include "MenusFixture.h"

#include "FileEditorWindow.h"

#include <QDateTimeEdit>
#include <QLineEdit>

TEST(FileEditorName, CountsUpAFinalDigitOrAddsATwoBeforeTheExtension)
{
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName("report 2.pdf"), "report 3.pdf");
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName("report.pdf"), "report 2.pdf");
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName("take 9.wav"), "take 9 2.wav");
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName("Photos"), "Photos 2");
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName("v0"), "v1");
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName(".bashrc"), ".bashrc 2");
    EXPECT_EQ(FileEditorWindow::proposedDuplicateName("archive.tar.gz"), "archive.tar 2.gz");
}

TEST_F(MenusTest, TheEditorSetsTheDateAndDuplicatesOnceUnderTheNewName)
{
    const QString folder = make(QStringLiteral("Album"), true);
    make(QStringLiteral("Album/inner/photo.jpg"));
    FileEditorWindow editor;
    ASSERT_FALSE(editor.edit(mTree.filePath("nothing here")));
    ASSERT_TRUE(editor.edit(folder));
    EXPECT_EQ(editor.nameField()->text(), QStringLiteral("Album 2"));

    const QDateTime date(QDate(2001, 2, 3), QTime(4, 5, 6));
    editor.dateField()->setDateTime(date);
    editor.changeDate();
    EXPECT_EQ(QFileInfo(folder).lastModified(), date) << "folders too";

    editor.changeDuplicate();
    EXPECT_TRUE(QFileInfo::exists(mTree.filePath("Album 2/inner/photo.jpg")));
    // A second confirmation finds the name taken and copies nothing into it.
    make(QStringLiteral("Album/later.txt"));
    editor.changeDuplicate();
    EXPECT_FALSE(QFileInfo::exists(mTree.filePath("Album 2/later.txt")));
    EXPECT_FALSE(QFileInfo::exists(mTree.filePath("Album 2/Album")));

    // A date the file system refuses puts the file's own date back in the field.
    editor.edit(make(QStringLiteral("note.txt")));
    QFile::remove(mTree.filePath("note.txt"));
    editor.changeDate();
    EXPECT_FALSE(FileEditorWindow::setModificationDate(mTree.filePath("note.txt"), date));
}
