// The agent's "EditItem" for a note or a protected note, as the manager's window answers it.
#include "ManagerFixture.h"

#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "ManagerWindow.h"
#include "NotesFile.h"
#include "ProtectedNoteBlob.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QVariantMap note(int kind, const QString &title, const QString &text, const QVariantMap &more = {})
{
    QVariantMap record{{"x", kind}, {"T", title}, {"t", text}};
    record.insert(more);
    return record;
}

// Answers the modal dialogs as they come up, in turn, each by its object name.
using Answer = std::pair<QString, std::function<void(QDialog *)>>;
void answerInTurn(QList<Answer> answers)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answers]() mutable {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || answers.isEmpty() || dialog->objectName() != answers.first().first)
            return;
        answers.takeFirst().second(dialog);
        if (answers.isEmpty())
            poll->deleteLater();
    });
    poll->start(10);
}

template <typename Done> bool waitUntil(Done done)
{
    for (int i = 0; i < 250 && !done(); ++i)
        QTest::qWait(20);
    return done();
}

QVariantList notesOnDisk()
{
    QVariantList notes;
    NotesFile(NotesFile::Kind::Notes).read(notes);
    return notes;
}

} // namespace

// The note is found though the section's search hid it, the first of two equal ones, and opens in
// the manager's editor; what the user changes there is saved, the other keys kept.
TEST_F(ManagerTest, TheAgentsEditOfANoteOpensItInTheNotesSectionWithItsSearchCleared)
{
    {
        QVariantList seed{note(5, "Atlas", "maps"), note(5, "Errands", "milk", {{"K", "shop"}}),
                          note(5, "Errands", "milk", {{"K", "second"}})};
        ASSERT_EQ(NotesFile(NotesFile::Kind::Notes).save(seed), NotesFile::Status::Ok);
    }
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    manager->window()->selectSection(ManagerWindow::Notes);
    QWidget *section = manager->window()->findChild<QWidget *>("NotesSection");
    ASSERT_TRUE(section);
    auto *search = section->findChild<QLineEdit *>("search");
    search->setText("atlas");
    ASSERT_EQ(section->findChild<QListView *>("table")->model()->rowCount(), 1);
    manager->window()->selectSection(ManagerWindow::Welcome);

    bool edited = false;
    answerInTurn({{"NoteEditorSheet", [&](QDialog *editor) {
                       EXPECT_EQ(editor->findChild<QLineEdit *>("NoteTitle")->text(), "Errands");
                       EXPECT_EQ(editor->findChild<QLineEdit *>("NoteKeywords")->text(), "shop");
                       editor->findChild<QPlainTextEdit *>("NoteText")->setPlainText("bread");
                       edited = true;
                       editor->accept();
                   }}});
    // As the agent sends it: the record as its window shows it.
    mNotifications->post(NotificationChannel::Main, "EditItem",
                         note(5, "Errands", "milk", {{"p", 2}}));
    ASSERT_TRUE(waitUntil([&] { return edited; }));
    EXPECT_EQ(manager->window()->currentSection(), int(ManagerWindow::Notes));
    EXPECT_TRUE(search->text().isEmpty());
    const QVariantList saved = notesOnDisk();
    EXPECT_TRUE(saved.contains(note(5, "Errands", "milk", {{"K", "second"}})));
    bool found = false;
    for (const QVariant &record : saved) {
        const QVariantMap map = record.toMap();
        if (map.value("t") == "bread") {
            found = true;
            EXPECT_EQ(map.value("K"), "shop");
            EXPECT_EQ(map.value("T"), "Errands");
        }
    }
    EXPECT_TRUE(found);
}

// The protected notes' section asks for the manager's own password first. Of a protected note the
// agent sends only the kind: the section opens for the user to choose; with the title and text,
// the note's editor opens without a second password.
TEST_F(ManagerTest, TheAgentsEditOfAProtectedNoteAsksTheManagersPasswordFirst)
{
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    {
        const std::optional<ProtectedKey> key =
            ProtectedKey::derive("pw", ProtectedKey::newSalt(), {10, 8, 1});
        ASSERT_TRUE(key.has_value());
        const QVariantList blobs{ProtectedNoteBlob::seal(note(6, "Vault", "code 4711"), *key)};
        ASSERT_TRUE(AtomicFile::write(path, KorvaleArchive::encode(blobs).bytes));
    }
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    bool asked = false;
    answerInTurn({{"PasswordSheet", [&](QDialog *sheet) {
                       asked = true;
                       sheet->findChild<QLineEdit *>("PasswordField")->setText("pw");
                       sheet->accept();
                   }}});
    mNotifications->post(NotificationChannel::Main, "EditItem", {{"x", 6}});
    ASSERT_TRUE(waitUntil([&] {
        return asked && manager->window()->currentSection() == ManagerWindow::ProtectedNotes;
    }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    bool edited = false;
    answerInTurn({{"NoteEditorSheet", [&](QDialog *editor) {
                       EXPECT_EQ(editor->findChild<QPlainTextEdit *>("NoteText")->toPlainText(),
                                 "code 4711");
                       editor->findChild<QPlainTextEdit *>("NoteText")->setPlainText("code 8080");
                       edited = true;
                       editor->accept();
                   }}});
    mNotifications->post(NotificationChannel::Main, "EditItem", note(6, "Vault", "code 4711"));
    ASSERT_TRUE(waitUntil([&] { return edited; }));
    QVariantList notes;
    ASSERT_TRUE(waitUntil([&] {
        NotesFile file(NotesFile::Kind::ProtectedNotes);
        return file.unlock("pw", notes) == NotesFile::Status::Ok && notes.size() == 1
            && notes.at(0).toMap().value("t") == "code 8080";
    }));
}
