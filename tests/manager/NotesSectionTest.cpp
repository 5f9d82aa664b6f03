// The manager's notes sections as the user drives them, the sheets answered as a user would.
#include "NotesSection.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "ManagerFixture.h"
#include "ManagerWindow.h"
#include "NotesFile.h"
#include "NotesText.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
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

// Answers the modal windows as they come up, each by the action given for its object name ("alert"
// for any message box, which records its text in `alerts`).
using Answer = std::pair<QString, std::function<void(QDialog *)>>;
void answerInTurn(QList<Answer> answers)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answers]() mutable {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!sheet || answers.isEmpty())
            return;
        const bool alert = qobject_cast<QMessageBox *>(sheet) != nullptr;
        const QString expected = answers.first().first;
        if ((expected == "alert") != alert || (!alert && sheet->objectName() != expected))
            return;
        answers.takeFirst().second(sheet);
        if (answers.isEmpty())
            poll->deleteLater();
    });
    poll->start(10);
}

Answer password(const QString &name, const QString &typed)
{
    return {name, [typed](QDialog *sheet) {
                sheet->findChild<QLineEdit *>("PasswordField")->setText(typed);
                sheet->accept();
            }};
}

Answer dismissAlert(QStringList *texts = nullptr)
{
    return {"alert", [texts](QDialog *sheet) {
                if (texts)
                    *texts << static_cast<QMessageBox *>(sheet)->text();
                sheet->reject();
            }};
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

// The editor shows and writes the abbreviation and the box hiding the other applications, and
// a row's tooltip shows the title, the keywords and the text.
TEST(NotesSection, TheEditorsAbbreviationAndHideOthersBoxAreSavedAndShownAgain)
{
    TemporaryHome home;
    {
        NotesFile seed(NotesFile::Kind::Notes);
        QVariantList notes{note(5, "Groceries", "milk")};
        ASSERT_EQ(seed.save(notes), NotesFile::Status::Ok);
    }
    NotesSection notes(NotesFile::Kind::Notes, nullptr);
    selectRow(notes, 0);
    answerInTurn({{"NoteEditorSheet", [](QDialog *sheet) {
                       sheet->findChild<QLineEdit *>("NoteAbbreviation")->setText("gr");
                       sheet->findChild<QLineEdit *>("NoteKeywords")->setText("shop");
                       sheet->findChild<QCheckBox *>("NoteHideOthers")->setChecked(true);
                       sheet->accept();
                   }}});
    notes.editNote();

    QVariantList stored;
    NotesFile(NotesFile::Kind::Notes).read(stored);
    ASSERT_EQ(stored.size(), 1);
    const QVariantMap saved = stored.first().toMap();
    EXPECT_EQ(saved.value("A"), "gr");
    EXPECT_EQ(saved.value("K"), "shop");
    EXPECT_EQ(saved.value("H").toInt(), 1);

    auto *table = notes.view()->findChild<QListView *>("table");
    EXPECT_EQ(table->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
              "Groceries\nshop\nmilk");

    // Opened again, the sheet shows what was stored; Cancel changes nothing.
    QString abbreviation;
    bool hideOthers = false;
    selectRow(notes, 0);
    answerInTurn({{"NoteEditorSheet", [&](QDialog *sheet) {
                       abbreviation = sheet->findChild<QLineEdit *>("NoteAbbreviation")->text();
                       hideOthers = sheet->findChild<QCheckBox *>("NoteHideOthers")->isChecked();
                       sheet->reject();
                   }}});
    notes.editNote();
    EXPECT_EQ(abbreviation, "gr");
    EXPECT_TRUE(hideOthers);
}

// The replace sheet is named by its title, not by the button's text with its ellipsis.
TEST(NotesSection, TheReplaceSheetHasATitleOfItsOwn)
{
    TemporaryHome home;
    {
        NotesFile seed(NotesFile::Kind::Notes);
        QVariantList notes{note(5, "Groceries", "milk")};
        ASSERT_EQ(seed.save(notes), NotesFile::Status::Ok);
    }
    NotesSection notes(NotesFile::Kind::Notes, nullptr);
    selectRow(notes, 0);
    QString title;
    answerInTurn({{"NotesReplaceSheet", [&](QDialog *sheet) {
                       title = sheet->windowTitle();
                       sheet->reject();
                   }}});
    notes.view()->findChild<QPushButton *>("NotesReplace")->click();
    EXPECT_EQ(title, QOR_StringUtils::getLocalizedStringForKey("NotesReplaceTitle"));
    EXPECT_FALSE(title.endsWith(QChar(0x2026)));
}

TEST(NotesSection, ALongNotesTooltipIsCutWithAnEllipsis)
{
    const QString tip = NotesText::toolTip(
        {{"T", "Log"}, {"t", QString(NotesText::ToolTipTextLimit + 50, QLatin1Char('x'))}});
    EXPECT_EQ(tip,
              "Log\n" + QString(NotesText::ToolTipTextLimit, QLatin1Char('x')) + QChar(0x2026));
}

// New while the protected notes are locked asks for the password, then opens the editor.
TEST(NotesSection, NewWhileLockedAsksForThePasswordAndThenAddsTheNote)
{
    TemporaryHome home;
    NotesSection vault(NotesFile::Kind::ProtectedNotes, nullptr);
    answerInTurn({password("PasswordSheet", "pw"),
                  password("PasswordAgainSheet", "pw"),
                  {"NoteEditorSheet", [](QDialog *sheet) {
                       sheet->findChild<QLineEdit *>("NoteTitle")->setText("Bank");
                       sheet->accept();
                   }}});
    vault.newNote();
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    ASSERT_EQ(file.unlock("pw", notes), NotesFile::Status::Ok);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes.first().toMap().value("T"), "Bank");
}

TEST(NotesSection, ImportWhileLockedAndThePasswordCancelledSaysTheSectionStaysLocked)
{
    TemporaryHome home;
    NotesSection vault(NotesFile::Kind::ProtectedNotes, nullptr);
    int locked = 0;
    QObject::connect(&vault, &NotesSection::stayedLocked, [&] { ++locked; });
    answerInTurn({{"PasswordSheet", [](QDialog *sheet) { sheet->reject(); }}});
    vault.importNotes(); // no file dialog: the password came first and was cancelled
    EXPECT_EQ(locked, 1);
}

// A wrong password given through "Password…" leaves nothing to show: the window goes back to
// the first section rather than showing the emptied protected notes.
TEST_F(ManagerTest, AWrongPasswordThroughThePasswordButtonGoesBackToTheFirstSection)
{
    {
        NotesFile seed(NotesFile::Kind::ProtectedNotes);
        QVariantList none;
        ASSERT_EQ(seed.unlock("pw", none), NotesFile::Status::Ok);
        ASSERT_TRUE(seed.confirmPassword("pw"));
        QVariantList notes{note(6, "Bank", "PIN")};
        ASSERT_EQ(seed.save(notes), NotesFile::Status::Ok);
    }
    auto manager = makeManager();
    // Opening the section and cancelling the password stays out of it too.
    manager->window()->selectSection(ManagerWindow::Notes);
    answerInTurn({{"PasswordSheet", [](QDialog *sheet) { sheet->reject(); }}});
    manager->window()->selectSection(ManagerWindow::ProtectedNotes);
    QCoreApplication::processEvents();
    EXPECT_EQ(manager->window()->currentSection(), int(ManagerWindow::Welcome));
    // Changing the password is offered only while it is known.
    QPushButton *change = manager->window()
                              ->findChild<QWidget *>("ProtectedNotesSection")
                              ->findChild<QPushButton *>("NotesChangePassword");
    ASSERT_NE(change, nullptr);
    EXPECT_FALSE(change->isEnabled());

    answerInTurn({password("PasswordSheet", "pw")});
    manager->window()->selectSection(ManagerWindow::ProtectedNotes);
    QCoreApplication::processEvents();
    ASSERT_EQ(manager->window()->currentSection(), int(ManagerWindow::ProtectedNotes));
    EXPECT_TRUE(change->isEnabled());

    QStringList alerts;
    answerInTurn({password("PasswordSheet", "wrong"), dismissAlert(&alerts)});
    change->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(alerts.size(), 1);
    EXPECT_EQ(manager->window()->currentSection(), int(ManagerWindow::Welcome));
    EXPECT_FALSE(change->isEnabled());
}
