// Edit… in the access window: the agent's own editors answered as a user would, and what each
// edit leaves in the data folder.
#include "AgentItemEditor.h"

#include "AgentProtectedNotes.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "ListFile.h"
#include "ListMerge.h"
#include "NotesFile.h"
#include "ProtectedNoteBlob.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QVariantMap note(const QString &title, const QString &text, const QVariantMap &more = {})
{
    QVariantMap record{{"x", 5}, {"T", title}, {"t", text}};
    record.insert(more);
    return record;
}

// Runs `answer` on the next modal dialog of that name as soon as it is up.
void answerDialog(const QString &name, std::function<void(QDialog *)> answer)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, answer] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != name)
            return;
        poll->deleteLater();
        answer(dialog);
    });
    poll->start(10);
}

// The picture of a dialog for the documentation, when KORVALE_SCREENSHOTS names a folder.
void keepPicture(QDialog *dialog, const QString &name)
{
    const QString folder = qEnvironmentVariable("KORVALE_SCREENSHOTS");
    if (!folder.isEmpty())
        dialog->grab().save(QDir(folder).filePath(name));
}

// Types into the note editor's text as the keyboard would, and confirms with Ctrl+Return.
void retypeNoteText(QDialog *dialog, const QString &text)
{
    auto *body = dialog->findChild<QPlainTextEdit *>("NoteText");
    body->setFocus();
    body->selectAll();
    QTest::keyClicks(body, text);
    QTest::keyClick(body, Qt::Key_Return, Qt::ControlModifier);
}

class AgentItemEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        mEnvironment.notes = &mNotes;
        mEnvironment.stocks = &mStocks;
        mEnvironment.stocksFile = &mStocksFile;
        mEnvironment.managerRunning = [this] { return mManagerRuns; };
        mEnvironment.handOver = [this](const QVariantMap &record) { mHandedOver << record; };
        mEnvironment.notesSaved = [this] { ++mNotesSaved; };
    }

    QVariantList notesOnDisk()
    {
        NotesFile file(NotesFile::Kind::Notes);
        QVariantList notes;
        file.read(notes);
        return notes;
    }

    TemporaryHome mHome;
    QVariantList mNotes, mStocks;
    ListFile mStocksFile{DataFileName::StocksSurvey, &ListMerge::byTitle};
    bool mManagerRuns = false;
    QList<QVariantMap> mHandedOver;
    int mNotesSaved = 0;
    AgentItemEditor::Environment mEnvironment;
};

} // namespace

// Two notes with the same title and text: the first in list order is the one edited, and it
// keeps the keywords and abbreviation the manager gave it.
TEST_F(AgentItemEditorTest, TheFirstMatchingNoteIsEditedAndKeepsItsOtherKeys)
{
    QVariantList seed{note("Errands", "milk", {{"K", "shop"}, {"A", "er"}, {"H", 1}}),
                      note("Errands", "milk", {{"K", "second"}}), note("Garden", "seeds")};
    {
        NotesFile file(NotesFile::Kind::Notes);
        ASSERT_EQ(file.save(seed), NotesFile::Status::Ok);
    }
    mNotes = notesOnDisk();
    AgentItemEditor editor(mEnvironment);
    QSignalSpy edited(&editor, &AgentItemEditor::itemEdited);

    answerDialog("AgentNoteEditor", [](QDialog *dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit *>("NoteTitle")->text(), "Errands");
        EXPECT_EQ(dialog->findChild<QPlainTextEdit *>("NoteText")->toPlainText(), "milk");
        keepPicture(dialog, "agent-note-editor.png");
        retypeNoteText(dialog, "milk and bread");
    });
    // As the access window shows it, with the search's marks.
    editor.doEditItem({{"x", 5}, {"T", "Errands"}, {"t", "milk"}, {"p", 3}, {"B", 1}});

    const QVariantList saved = notesOnDisk();
    ASSERT_EQ(saved.size(), 3);
    EXPECT_EQ(saved.at(0).toMap(),
              note("Errands", "milk and bread", {{"K", "shop"}, {"A", "er"}, {"H", 1}}));
    EXPECT_EQ(saved.at(1).toMap(), note("Errands", "milk", {{"K", "second"}}));
    EXPECT_EQ(mNotes, saved);
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.first().at(1).toMap().value("t"), "milk and bread");
    EXPECT_TRUE(mHandedOver.isEmpty());
}

// The manager or korvale-notes saved while the agent held its older copy: their note and their
// change stay beside the agent's edit.
TEST_F(AgentItemEditorTest, AnEditKeepsWhatAnotherProgramSavedMeanwhile)
{
    {
        NotesFile file(NotesFile::Kind::Notes);
        QVariantList seed{note("Errands", "milk"), note("Garden", "seeds")};
        ASSERT_EQ(file.save(seed), NotesFile::Status::Ok);
    }
    mNotes = notesOnDisk();
    {
        // Another writer, after the agent's reload.
        NotesFile other(NotesFile::Kind::Notes);
        QVariantList theirs;
        other.read(theirs);
        theirs.append(note("Books", "to read"));
        theirs[0] = note("Errands", "milk", {{"K", "shop"}});
        ASSERT_EQ(other.save(theirs), NotesFile::Status::Ok);
    }
    mEnvironment.editNote = [](QWidget *, const QVariantMap &found) {
        QVariantMap edited = found;
        edited.insert("T", "Garden tasks");
        return std::optional<QVariantMap>(edited);
    };
    AgentItemEditor editor(mEnvironment);
    editor.doEditItem(note("Garden", "seeds"));

    const QVariantList expected{note("Books", "to read"), note("Errands", "milk", {{"K", "shop"}}),
                                note("Garden tasks", "seeds")};
    EXPECT_EQ(notesOnDisk(), expected);
    EXPECT_EQ(mNotes, expected);
    EXPECT_EQ(mNotesSaved, 1);
}

// The stock editor names the limits by what they do; what is typed lands under the keys the
// survey reads, and the quotes stored meanwhile stay.
TEST_F(AgentItemEditorTest, TheStockEditorStoresTheLimitsUnderTheSurveysKeys)
{
    const QVariantMap shares{{"x", 7},
                             {"T", "Shares"},
                             {"StockURL", "https://quotes.example.org/acme.csv"},
                             {"ValMin", "0.000"},
                             {"ValMax", "0.000"},
                             {"ValLast", "S,101.5,x"},
                             {"ValLastShown", "100"}};
    QVariantMap twin = shares;
    twin.insert("StockURL", "http://q/twin");
    mStocks = {QVariantMap{{"x", 7}, {"T", "Bonds"}, {"StockURL", "http://q/2"}}, shares, twin};
    ASSERT_TRUE(mStocksFile.save(mStocks));
    AgentItemEditor editor(mEnvironment);
    QSignalSpy edited(&editor, &AgentItemEditor::itemEdited);

    answerDialog("StockEditor", [this](QDialog *dialog) {
        EXPECT_EQ(dialog->findChild<QLabel *>("StockName")->text(), "Shares");
        auto *address = dialog->findChild<QLineEdit *>("StockAddress");
        auto *above = dialog->findChild<QLineEdit *>("StockAlertAbove");
        auto *below = dialog->findChild<QLineEdit *>("StockAlertBelow");
        EXPECT_EQ(address->text(), "https://quotes.example.org/acme.csv");
        EXPECT_EQ(dialog->focusWidget(), address);
        // A quote stored by a survey pass while the dialog is open.
        QVariantMap passed = mStocks.at(1).toMap();
        passed.insert("ValLast", "S,102,x");
        mStocks[1] = passed;
        above->setText("120,5");
        below->setText("80");
        // Letters are no limit.
        QTest::keyClicks(below, "x");
        EXPECT_EQ(below->text(), "80");
        keepPicture(dialog, "agent-stock-editor.png");
        QTest::keyClick(address, Qt::Key_Return);
    });
    editor.doEditItem({{"x", 7}, {"T", "Shares"}});

    const QVariantList saved = ListFile(DataFileName::StocksSurvey, &ListMerge::byTitle).read();
    ASSERT_EQ(saved.size(), 3);
    QVariantMap expected = shares;
    expected.insert("ValMin", "120.5"); // the upper limit
    expected.insert("ValMax", "80"); // the lower limit
    expected.insert("ValLast", "S,102,x");
    EXPECT_EQ(saved.at(1).toMap(), expected);
    EXPECT_EQ(saved.at(2).toMap().value("ValMin"), "0.000"); // the later entry of that name
    EXPECT_EQ(mStocks.at(1).toMap(), expected);
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.first().at(1).toMap(), expected);
}

// What the agent does not edit itself goes to the manager: a note while the manager runs, a
// protected note without the password, an application.
TEST_F(AgentItemEditorTest, WhatTheAgentDoesNotEditGoesToTheManager)
{
    mNotes = {note("Errands", "milk")};
    mEnvironment.editNote = [](QWidget *, const QVariantMap &) -> std::optional<QVariantMap> {
        ADD_FAILURE() << "the agent's editor ran";
        return std::nullopt;
    };
    AgentItemEditor editor(mEnvironment);
    mManagerRuns = true;
    editor.doEditItem(note("Errands", "milk"));
    mManagerRuns = false;
    editor.doEditItem({{"x", 6}, {"T", "Vault"}, {"t", "code"}});
    editor.doEditItem({{"x", 1}, {"T", "Atlas"}, {"P", "/apps/atlas.desktop"}});
    ASSERT_EQ(mHandedOver.size(), 3);
    EXPECT_EQ(mHandedOver.at(0).value("T"), "Errands");
    EXPECT_EQ(mHandedOver.at(1).value("x"), 6);
    EXPECT_EQ(mHandedOver.at(2).value("P"), "/apps/atlas.desktop");
    // A note the agent no longer has is not handed over either: nothing happens.
    editor.doEditItem(note("Gone", "away"));
    EXPECT_EQ(mHandedOver.size(), 3);
    EXPECT_EQ(mNotesSaved, 0);
}

// While the password is known, the agent edits a protected note itself: the file holds the edit,
// encrypted, and nothing of its text is anywhere else in the data folder.
TEST_F(AgentItemEditorTest, AProtectedNoteIsEditedInPlaceAndStaysEncrypted)
{
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    {
        // At the lowest cost a file may state, which keeps the derivation quick.
        const std::optional<ProtectedKey> key =
            ProtectedKey::derive("pw", ProtectedKey::newSalt(), {10, 8, 1});
        ASSERT_TRUE(key.has_value());
        const QVariantList blobs{
            ProtectedNoteBlob::seal({{"x", 6}, {"T", "Vault"}, {"t", "code 4711"}, {"K", "safe"}},
                                    *key),
            ProtectedNoteBlob::seal({{"x", 6}, {"T", "Bank"}, {"t", "iban"}}, *key)};
        ASSERT_TRUE(AtomicFile::write(path, KorvaleArchive::encode(blobs).bytes));
    }
    QVariantList searched;
    AgentProtectedNotes vault(searched, nullptr);
    answerDialog("PasswordSheet", [](QDialog *sheet) {
        sheet->findChild<QLineEdit *>("PasswordField")->setText("pw");
        sheet->accept();
    });
    ASSERT_TRUE(vault.askPassword(nullptr));
    mEnvironment.protectedNotes = &vault;
    AgentItemEditor editor(mEnvironment);

    answerDialog("AgentNoteEditor",
                 [](QDialog *dialog) { retypeNoteText(dialog, "code 8080 since May"); });
    editor.doEditItem({{"x", 6}, {"T", "Vault"}, {"t", "code 4711"}});

    EXPECT_TRUE(mHandedOver.isEmpty());
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    ASSERT_EQ(file.unlock("pw", notes), NotesFile::Status::Ok);
    const QVariantList expected{
        QVariantMap{{"x", 6}, {"T", "Bank"}, {"t", "iban"}},
        QVariantMap{{"x", 6}, {"T", "Vault"}, {"t", "code 8080 since May"}, {"K", "safe"}}};
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(vault.notes(), expected);
    QDir data(QFileInfo(path).path());
    for (const QString &name : data.entryList(QDir::Files | QDir::Hidden)) {
        QFile written(data.filePath(name));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_FALSE(written.readAll().contains("8080")) << name.toStdString();
    }
}
