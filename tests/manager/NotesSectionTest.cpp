// The manager's notes sections as the user drives them, the sheets answered as a user would.
#include "NotesFile.h"
#include "NotesSection.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QVariantMap note(int kind, const QString &title, const QString &text)
{
    return {{"x", kind}, {"T", title}, {"t", text}};
}

// Types the password into the next password sheet and confirms it.
void answerPasswordSheet(const QString &password)
{
    QTimer::singleShot(50, qApp, [password] {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->objectName(), "PasswordSheet");
        sheet->findChild<QLineEdit *>("PasswordField")->setText(password);
        sheet->accept();
    });
}

void selectRow(NotesSection &section, int row)
{
    auto *table = section.view()->findChild<QListView *>("table");
    table->selectionModel()->select(table->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
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
        // Moving opens the protected section first, which asks for its password.
        answerPasswordSheet("pw");
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
