// The manager's notes sections as the user drives them, the sheets answered as a user would.
#include "NotesSection.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "NotesFile.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QVariantMap note(int kind, const QString &title, const QString &text)
{
    return {{"x", kind}, {"T", title}, {"t", text}};
}

// Types each password into the next sheet of that name as it comes up, and confirms it; an
// "alert" answer dismisses the next alert.
void answerSheets(QList<std::pair<QString, QString>> answers)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answers]() mutable {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!sheet || answers.isEmpty())
            return;
        const QString expected = answers.first().first;
        if (expected == "alert" && !sheet->objectName().startsWith("Password")) {
            answers.removeFirst();
            sheet->reject(); // dismissed, whatever it says
        } else if (sheet->objectName() == expected) {
            sheet->findChild<QLineEdit *>("PasswordField")->setText(answers.takeFirst().second);
            sheet->accept();
        } else {
            return;
        }
        if (answers.isEmpty())
            poll->deleteLater();
    });
    poll->start(10);
}

void selectRow(NotesSection &section, int row)
{
    auto *table = section.view()->findChild<QListView *>("table");
    table->selectionModel()->select(table->model()->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect);
}

} // namespace

TEST(NotesSection, ANoteMovedToTheProtectedNotesIsOnlyThereEncryptedOnceTheManagerQuits)
{
    TemporaryHome home;
    {
        NotesFile seed(NotesFile::Kind::Notes);
        QVariantList notes{note(5, "Bank", "PIN 4711"), note(5, "Groceries", "milk")};
        ASSERT_EQ(seed.save(notes), NotesFile::Status::Ok);
    }
    {
        NotesSection notes(NotesFile::Kind::Notes, nullptr);
        NotesSection vault(NotesFile::Kind::ProtectedNotes, nullptr);
        notes.setOtherSection(&vault);
        vault.setOtherSection(&notes);
        selectRow(notes, 0);
        // Moving opens the protected section first, which asks for its password, twice as
        // it becomes the password of a new file.
        answerSheets({{"PasswordSheet", "pw"}, {"PasswordAgainSheet", "pw"}});
        notes.moveNotes();
        EXPECT_TRUE(vault.open()); // the key is kept: no second sheet
    }
    QVariantList plain;
    NotesFile(NotesFile::Kind::Notes).read(plain);
    EXPECT_EQ(plain, QVariantList{note(5, "Groceries", "milk")});
    NotesFile vaultFile(NotesFile::Kind::ProtectedNotes);
    QVariantList secret;
    ASSERT_EQ(vaultFile.unlock("pw", secret), NotesFile::Status::Ok);
    EXPECT_EQ(secret, QVariantList{note(6, "Bank", "PIN 4711")});
}

TEST(NotesSection, CancellingThePasswordKeepsTheProtectedSectionClosed)
{
    TemporaryHome home;
    NotesSection vault(NotesFile::Kind::ProtectedNotes, nullptr);
    QTimer::singleShot(50, qApp, [] {
        if (auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            sheet->reject();
    });
    EXPECT_FALSE(vault.open());
    EXPECT_FALSE(vault.appendAndSave({note(6, "x", "y")}));
}

// A file of the first format opens under some mistyped passwords: before the manager rewrites it,
// the password is asked again, and the file is kept beside the new one.
TEST(NotesSection, AFileOfTheFirstFormatIsRewrittenOnlyAfterThePasswordTwiceAndKeptAside)
{
    TemporaryHome home;
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    QFile fixture(QStringLiteral(KORVALE_SOURCE_DIR
                                 "/tests/common/data/protected-notes-first-format.krvdata"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray original = fixture.readAll();
    ASSERT_TRUE(AtomicFile::write(path, original));

    {
        NotesSection vault(NotesFile::Kind::ProtectedNotes, nullptr);
        // The second password differs: the section stays closed, the file as it was.
        answerSheets(
            {{"PasswordSheet", "hunter2"}, {"PasswordAgainSheet", "hunter3"}, {"alert", {}}});
        EXPECT_FALSE(vault.open());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), original);

        // Rewritten at once; an alert says where the old file is.
        answerSheets(
            {{"PasswordSheet", "hunter2"}, {"PasswordAgainSheet", "hunter2"}, {"alert", {}}});
        EXPECT_TRUE(vault.open());
    }
    const QStringList aside =
        QDir(QFileInfo(path).path()).entryList({DataFileName::ProtectedNotes + "*.first-format"});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(path).dir().filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), original);
    NotesFile rewritten(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    ASSERT_EQ(rewritten.unlock("hunter2", notes), NotesFile::Status::Ok);
    EXPECT_FALSE(rewritten.readFirstFormat());
    EXPECT_EQ(notes.size(), 2);
}
