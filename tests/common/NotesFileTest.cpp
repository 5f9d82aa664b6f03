#include "NotesFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "NoteLists.h"
#include "ProtectedNoteBlob.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QVariantMap note(int kind, const QString &title, const QString &text)
{
    return {{"x", kind}, {"T", title}, {"t", text}};
}

QString protectedPath()
{
    return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ProtectedNotes);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QVariantList blobsIn(const QString &path)
{
    return KorvaleArchive::decode(bytesOf(path)).value.toList();
}

class NotesFileTest : public ::testing::Test
{
protected:
    TemporaryHome home;
};

} // namespace

// The fixture was written by the first writer, before the second format existed.
TEST_F(NotesFileTest, FirstFormatIsReadAndRewrittenInTheSecondOnlyAfterTheRightPassword)
{
    writeBytes(protectedPath(),
               bytesOf(QStringLiteral(KORVALE_SOURCE_DIR
                                      "/tests/common/data/protected-notes-first-format.krvdata")));
    const QByteArray original = bytesOf(protectedPath());

    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    EXPECT_EQ(file.unlock("hunter3", notes), NotesFile::Status::WrongPassword);
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_FALSE(file.isUnlocked());
    EXPECT_EQ(file.save(notes), NotesFile::Status::Locked);
    EXPECT_EQ(bytesOf(protectedPath()), original);

    ASSERT_EQ(file.unlock("hunter2", notes), NotesFile::Status::Ok);
    EXPECT_TRUE(file.readFirstFormat());
    QVariantMap door = note(6, "Door code", "1234#");
    door.insert("K", "home");
    const QVariantList expected{note(6, "Bank", QStringLiteral("PIN 4711\nAccount été")), door};
    EXPECT_EQ(notes, expected);

    // Its code lets other passwords through: the rewrite waits for the password a second time,
    // and keeps the file of the first format beside the new one.
    EXPECT_TRUE(file.awaitsConfirmation());
    EXPECT_EQ(file.save(notes), NotesFile::Status::Unconfirmed);
    EXPECT_EQ(bytesOf(protectedPath()), original);
    ASSERT_TRUE(file.confirmPassword("hunter2"));
    ASSERT_EQ(file.save(notes), NotesFile::Status::Ok);
    EXPECT_TRUE(file.keptAside().endsWith(".first-format"));
    EXPECT_EQ(bytesOf(file.keptAside()), original);
    const QVariantList blobs = blobsIn(protectedPath());
    ASSERT_EQ(blobs.size(), 2);
    for (const QVariant &blob : blobs)
        EXPECT_TRUE(ProtectedNoteBlob::header(blob.toByteArray()).has_value());

    NotesFile again(NotesFile::Kind::ProtectedNotes);
    QVariantList reread;
    EXPECT_EQ(again.unlock("hunter3", reread), NotesFile::Status::WrongPassword);
    ASSERT_EQ(again.unlock("hunter2", reread), NotesFile::Status::Ok);
    EXPECT_FALSE(again.readFirstFormat());
    EXPECT_FALSE(again.awaitsConfirmation());
    EXPECT_EQ(reread, expected);
}

// The fixture was written while the programs linked OpenSSL themselves: through the crypto
// module the same password opens it and another one is still told apart.
TEST_F(NotesFileTest, SecondFormatWrittenBeforeTheCryptoModuleOpensUnchanged)
{
    writeBytes(protectedPath(),
               bytesOf(QStringLiteral(KORVALE_SOURCE_DIR
                                      "/tests/common/data/protected-notes-second-format.krvdata")));
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    EXPECT_EQ(file.unlock("hunter3", notes), NotesFile::Status::WrongPassword);
    ASSERT_EQ(file.unlock("hunter2", notes), NotesFile::Status::Ok);
    EXPECT_FALSE(file.readFirstFormat());
    EXPECT_FALSE(file.awaitsConfirmation());
    EXPECT_EQ(notes,
              (QVariantList{note(6, "Bank", QStringLiteral("PIN 4711\nAccount été")),
                            note(6, "Door code", "1234#")}));
}

TEST_F(NotesFileTest, SecondFormatTellsAWrongPasswordFromADamagedNoteAndKeepsTheDamagedFile)
{
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    // No file yet: the first password, typed twice, becomes the file's.
    ASSERT_EQ(file.unlock("correct horse", notes), NotesFile::Status::Ok);
    ASSERT_TRUE(file.confirmPassword("correct horse"));
    notes = {note(6, "Alpha", "first secret"), note(6, "Beta", "second secret")};
    ASSERT_EQ(file.save(notes), NotesFile::Status::Ok);
    const QByteArray saved = bytesOf(protectedPath());
    EXPECT_FALSE(saved.contains("secret"));
    EXPECT_FALSE(saved.contains("Alpha"));

    // One bit of the second note's ciphertext flipped.
    QVariantList blobs = blobsIn(protectedPath());
    QByteArray second = blobs[1].toByteArray();
    second[ProtectedNoteBlob::HeaderSize + 2] = char(second[ProtectedNoteBlob::HeaderSize + 2] ^ 1);
    blobs[1] = second;
    writeBytes(protectedPath(), KorvaleArchive::encode(blobs).bytes);

    NotesFile other(NotesFile::Kind::ProtectedNotes);
    QVariantList read;
    EXPECT_EQ(other.unlock("correct horsE", read), NotesFile::Status::WrongPassword);
    EXPECT_TRUE(read.isEmpty());
    ASSERT_EQ(other.unlock("correct horse", read), NotesFile::Status::Damaged);
    EXPECT_EQ(other.damagedNotes(), 1);
    EXPECT_EQ(read, QVariantList{note(6, "Alpha", "first secret")});

    // Saving keeps the damaged file aside rather than dropping the note it could not read.
    read.append(note(6, "Gamma", "third"));
    ASSERT_EQ(other.save(read), NotesFile::Status::Ok);
    const QStringList aside = QDir(QFileInfo(protectedPath()).path())
                                  .entryList({DataFileName::ProtectedNotes + "*.damaged"});
    ASSERT_EQ(aside.size(), 1);
    NotesFile third(NotesFile::Kind::ProtectedNotes);
    ASSERT_EQ(third.unlock("correct horse", read), NotesFile::Status::Ok);
    EXPECT_EQ(read.size(), 2);
}

TEST_F(NotesFileTest, ANoteFarBeyondTheFirstFormatsLimitIsStoredWhole)
{
    QString noise;
    quint32 state = 1;
    for (int i = 0; i < 300000; ++i) {
        state = state * 1103515245u + 12345u;
        noise += QChar(0x4E00 + (state >> 16) % 2000);
    }
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    ASSERT_EQ(file.unlock("pw", notes), NotesFile::Status::Ok);
    ASSERT_TRUE(file.confirmPassword("pw"));
    notes = {note(6, "huge", noise), note(6, "small", "kept")};
    ASSERT_EQ(file.save(notes), NotesFile::Status::Ok);
    NotesFile again(NotesFile::Kind::ProtectedNotes);
    QVariantList read;
    ASSERT_EQ(again.unlock("pw", read), NotesFile::Status::Ok);
    EXPECT_EQ(read, notes);
}

TEST_F(NotesFileTest, ANoteEditedInTwoProgramsAtOnceKeepsBothEdits)
{
    NotesFile seed(NotesFile::Kind::Notes);
    QVariantList start{note(5, "Groceries", "milk"), note(5, "Ideas", "one"), note(5, "Old", "x")};
    ASSERT_EQ(seed.save(start), NotesFile::Status::Ok);

    NotesFile manager(NotesFile::Kind::Notes);
    NotesFile tool(NotesFile::Kind::Notes);
    QVariantList managerNotes;
    QVariantList toolNotes;
    manager.read(managerNotes);
    tool.read(toolNotes);

    managerNotes[0] = note(5, "Groceries", "milk, eggs");
    managerNotes.removeAt(2);
    ASSERT_EQ(manager.save(managerNotes), NotesFile::Status::Ok);

    toolNotes[0] = note(5, "Groceries", "milk, bread");
    toolNotes[2] = note(5, "Old", "edited while the other removed it");
    toolNotes.append(note(5, "Added", "new"));
    ASSERT_EQ(tool.save(toolNotes), NotesFile::Status::Ok);

    const QVariantList expected{note(5, "Added", "new"), note(5, "Groceries", "milk, eggs"),
                                note(5, "Groceries", "milk, bread"), note(5, "Ideas", "one"),
                                note(5, "Old", "edited while the other removed it")};
    EXPECT_EQ(toolNotes, expected);
    QVariantList onDisk;
    NotesFile(NotesFile::Kind::Notes).read(onDisk);
    EXPECT_EQ(onDisk, expected);
}

TEST_F(NotesFileTest, ProtectedNotesSavedByTwoProgramsUnderOnePasswordAreMerged)
{
    NotesFile agent(NotesFile::Kind::ProtectedNotes);
    QVariantList agentNotes;
    ASSERT_EQ(agent.unlock("pw", agentNotes), NotesFile::Status::Ok);
    ASSERT_TRUE(agent.confirmPassword("pw"));
    agentNotes = {note(6, "A", "a")};
    ASSERT_EQ(agent.save(agentNotes), NotesFile::Status::Ok);

    NotesFile manager(NotesFile::Kind::ProtectedNotes);
    QVariantList managerNotes;
    ASSERT_EQ(manager.unlock("pw", managerNotes), NotesFile::Status::Ok);
    managerNotes.append(note(6, "B", "b"));
    ASSERT_EQ(manager.save(managerNotes), NotesFile::Status::Ok);

    agentNotes.append(note(6, "C", "c"));
    ASSERT_EQ(agent.save(agentNotes), NotesFile::Status::Ok);
    EXPECT_EQ(agentNotes, (QVariantList{note(6, "A", "a"), note(6, "B", "b"), note(6, "C", "c")}));
}

TEST(ProtectedNoteBlob, OpensOnlyWithItsKeyAndRefusesDamageAndHostileCosts)
{
    const ProtectedKey::Cost cost = ProtectedKey::defaultCost();
    const ProtectedKey key =
        ProtectedKey::fromBytes(QByteArray(32, 'k'), QByteArray(16, 's'), cost);
    const ProtectedKey other =
        ProtectedKey::fromBytes(QByteArray(32, 'K'), QByteArray(16, 's'), cost);
    const QByteArray blob = ProtectedNoteBlob::seal(note(6, "T", "secret"), key);
    ASSERT_FALSE(blob.isEmpty());
    EXPECT_EQ(ProtectedNoteBlob::open(blob, key).note, note(6, "T", "secret"));
    EXPECT_EQ(ProtectedNoteBlob::open(blob, other).status, ProtectedNoteBlob::Opened::WrongKey);
    EXPECT_EQ(ProtectedNoteBlob::open(blob.left(blob.size() - 1), key).status,
              ProtectedNoteBlob::Opened::Damaged);
    // Same key, other nonce: the header is authenticated too.
    QByteArray header = blob;
    header[ProtectedNoteBlob::HeaderSize - 1] = char(header[ProtectedNoteBlob::HeaderSize - 1] ^ 1);
    EXPECT_EQ(ProtectedNoteBlob::open(header, key).status, ProtectedNoteBlob::Opened::Damaged);
    // A cost of 2^40 would take a terabyte: such a header is not used.
    QByteArray hostile = blob;
    hostile[6] = char(40);
    EXPECT_FALSE(ProtectedNoteBlob::header(hostile).has_value());
    EXPECT_EQ(ProtectedNoteBlob::open(hostile, key).status, ProtectedNoteBlob::Opened::Damaged);
}
