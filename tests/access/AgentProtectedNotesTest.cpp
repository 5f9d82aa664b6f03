// The agent's protected notes at their deadline: nothing the search made of them outlives the key.
#include "AgentProtectedNotes.h"

#include "AccessWindowController.h"
#include "AgentAccess.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "DaemonController.h"
#include "ItemRecord.h"
#include "KorvaleArchive.h"
#include "ProtectedNoteBlob.h"
#include "SearchController.h"
#include "SearchField.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// Answers the password sheet as soon as it is up.
void answerPasswordSheet(const QString &password)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, password] {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!sheet || sheet->objectName() != "PasswordSheet")
            return;
        sheet->findChild<QLineEdit *>("PasswordField")->setText(password);
        sheet->accept();
        poll->deleteLater();
    });
    poll->start(10);
}

bool waitIdle(SearchController &search)
{
    return QTest::qWaitFor([&search] {
        if (search.isSearchRunning())
            return false;
        QTest::qWait(3 * SearchController::kRetryMs);
        return !search.isSearchRunning();
    });
}

// One protected note, "Vault", under the password "pw".
void writeProtectedNote()
{
    // Written at the lowest cost a file may state, which keeps the derivation quick.
    const std::optional<ProtectedKey> key =
        ProtectedKey::derive("pw", ProtectedKey::newSalt(), {10, 8, 1});
    ASSERT_TRUE(key.has_value());
    const QVariantList blobs{
        ProtectedNoteBlob::seal({{"x", 6}, {"T", "Vault"}, {"t", "the safe's code 4711"}}, *key)};
    ASSERT_TRUE(AtomicFile::write(
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes),
        KorvaleArchive::encode(blobs).bytes));
}

bool showsProtectedNote(const SearchController &search)
{
    const FoundItems &found = search.displayedList();
    return std::any_of(found.begin(), found.end(), [](const FoundItem &item) {
        return ItemRecord::kind(item.record()) == ItemRecord::KindProtectedNote;
    });
}

// Every text the state gives any client of the bus, lists included.
QString stateText(const QVariantMap &state)
{
    QStringList texts;
    for (const QVariant &value : state)
        texts << (value.typeId() == QMetaType::QStringList ? value.toStringList().join(' ')
                                                           : value.toString());
    return texts.join(' ');
}

} // namespace

TEST(AgentProtectedNotes, TheDeadlineDropsTheSearchsPreparedCopyAndTheRowsShown)
{
    TemporaryHome home;
    writeProtectedNote();

    QVariantList searched; // the agent's list of protected notes
    SearchController search([&searched] {
        SearchSources sources;
        sources.protectedNotes = searched;
        sources.notes = {QVariantMap{{"x", 5}, {"T", "Vault plan"}, {"t", "plain"}}};
        return sources;
    });
    // Long enough for the pass to show the note first in a sanitized build on a busy machine.
    AgentProtectedNotes notes(searched, &search, nullptr, 1500);
    search.setProtectedPasswordAsker([&notes] { return notes.askPassword(nullptr); });

    answerPasswordSheet("pw");
    ASSERT_TRUE(search.setTypeForSearch(6));
    search.searchFieldModified("vault");
    ASSERT_TRUE(waitIdle(search));
    ASSERT_EQ(search.displayedList().size(), 1);
    EXPECT_EQ(search.displayedList().at(0).record().value("T"), "Vault");
    EXPECT_GT(search.preparedMemoryBytes(), 0u);
    EXPECT_GT(search.passRoomBytes(), 0u);

    QSignalSpy locked(&notes, &AgentProtectedNotes::locked);
    ASSERT_TRUE(locked.wait(5000));
    EXPECT_FALSE(notes.isUnlocked());
    EXPECT_TRUE(searched.isEmpty());
    // Neither the prepared text nor the row showing the note is left in the search.
    EXPECT_EQ(search.preparedMemoryBytes(), 0u);
    EXPECT_EQ(search.passRoomBytes(), 0u); // nor title bytes in the pass's room
    EXPECT_TRUE(search.displayedList().isEmpty());

    // The next switch to the filter asks again; refused, the filter stays where it was.
    QTimer::singleShot(50, qApp, [] {
        if (auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            sheet->reject();
    });
    search.setTypeForSearch(5);
    EXPECT_FALSE(search.setTypeForSearch(6));
    EXPECT_EQ(search.typeForSearch(), 5);
}

// What is typed to find a protected note says something of it: the field forgets it when the
// filter turns away from them and when they lock, and nothing of it or of them stays behind.
TEST(AgentProtectedNotes, TextTypedUnderTheFilterGoesWhenTheFilterChangesAndAtTheLock)
{
    TemporaryHome home;
    writeProtectedNote();
    SharedPreferences preferences;
    DaemonController::Environment environment;
    environment.preferences = &preferences;
    DaemonController daemon(environment);
    daemon.readMainSettings();
    AgentAccess access(daemon, AgentAccess::Environment());
    SearchController &search = access.search();
    SearchField *field = access.window().searchField();

    const auto typeUnderTheFilter = [&] {
        search.groupChanged(ItemRecord::KindProtectedNote);
        ASSERT_EQ(search.typeForSearch(), ItemRecord::KindProtectedNote);
        field->setText("vaul");
        ASSERT_TRUE(waitIdle(search));
        ASSERT_TRUE(showsProtectedNote(search));
    };
    const auto nothingLeft = [&](const char *when) {
        SCOPED_TRACE(when);
        ASSERT_TRUE(waitIdle(search));
        EXPECT_EQ(field->text(), "");
        EXPECT_FALSE(field->isUndoAvailable());
        EXPECT_EQ(search.displayedQuery(), "");
        EXPECT_FALSE(showsProtectedNote(search));
        EXPECT_FALSE(stateText(access.state()).contains("vaul", Qt::CaseInsensitive))
            << stateText(access.state()).toStdString();
    };

    answerPasswordSheet("pw");
    typeUnderTheFilter();
    search.groupChanged(0);
    nothingLeft("after the filter changed");
    EXPECT_TRUE(access.protectedNotes().isUnlocked());

    // Back to them within the deadline: no password asked, the text typed again.
    typeUnderTheFilter();
    access.protectedNotes().lock(); // as the deadline does
    nothingLeft("after the lock");
    EXPECT_TRUE(daemon.lists().mListOfProtectedNotes.isEmpty());
}
