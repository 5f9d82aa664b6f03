// korvale-notes driven as a user would, through its arguments and standard input.
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "NotesFile.h"
#include "NotesText.h"
#include "ProtectedNoteBlob.h"
#include "QOR_DataUtils.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

ProgramRun notesTool(const QStringList &arguments, const QByteArray &input = {})
{
    return runProgram(builtProgram(QStringLiteral("bin/korvale-notes")), arguments, input);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The path the tool says it kept the previous file as.
QString keptAsideIn(const QByteArray &err)
{
    const qsizetype at = err.indexOf("kept as ");
    if (at < 0)
        return {};
    const qsizetype end = err.indexOf('\n', at);
    return QString::fromUtf8(err.mid(at + 8, end < 0 ? -1 : end - at - 8));
}

} // namespace

TEST(NotesTool, ImportsTabsAndLineEndsAndExportsFlattenedText)
{
    TemporaryHome home;
    const QString source = home.path() + "/in.txt";
    QFile in(source);
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    // Title, text and two more fields; a line of tabs; an empty title; Latin-1 accents.
    in.write("Plan\tbeds\tpaths\n\t\t\n\tonly text\nCaf\xe9\tcr\xe8me\n");
    in.close();
    ProgramRun run = notesTool({"import", source});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    run = notesTool({"list"});
    EXPECT_EQ(run.out, QStringLiteral("\nCafé\nPlan\n").toUtf8());
    EXPECT_EQ(notesTool({"show", "Plan"}).out, "beds\npaths\n");
    EXPECT_EQ(notesTool({"show", "Café"}).out, QStringLiteral("crème\n").toUtf8());

    // A file with "\r" line ends only.
    ASSERT_TRUE(in.open(QIODevice::WriteOnly | QIODevice::Truncate));
    in.write("Mac one\ta\rMac two\tb");
    in.close();
    ASSERT_EQ(notesTool({"import", source}).exitCode, 0);
    EXPECT_EQ(notesTool({"list"}).out, QStringLiteral("\nCafé\nMac one\nMac two\nPlan\n").toUtf8());

    ASSERT_EQ(notesTool({"add", "Lines"}, "first\nsecond\n").exitCode, 0);
    const QString exported = home.path() + "/out.txt";
    ASSERT_EQ(notesTool({"export", exported}).exitCode, 0);
    EXPECT_EQ(bytesOf(exported),
              QStringLiteral("\tonly text\t\nCafé\tcrème\t\nLines\tfirst. second. \t\n"
                             "Mac one\ta\t\nMac two\tb\t\nPlan\tbeds. paths\t\n")
                  .toUtf8());

    EXPECT_EQ(notesTool({"show", "Nothing"}).exitCode, 1);
    EXPECT_EQ(notesTool({"import", home.path() + "/missing.txt"}).exitCode, 1);
    EXPECT_EQ(notesTool({"frobnicate"}).exitCode, 2);
}

TEST(NotesTool, ProtectedNotesTakeThePasswordFromTheFirstLineAndAWrongOneChangesNothing)
{
    TemporaryHome home;
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    // A new file takes the password as its own only when the second line repeats it.
    ProgramRun run = notesTool({"--protected", "add", "Bank"}, "s3cret\nPIN 4711\nsecond line");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("second line")) << run.err.constData();
    EXPECT_FALSE(QFile::exists(path));
    run = notesTool({"--protected", "add", "Bank"}, "s3cret\ns3cret\nPIN 4711\nsecond line");
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray saved = bytesOf(path);
    EXPECT_FALSE(saved.contains("PIN"));
    EXPECT_FALSE(saved.contains("s3cret"));
    // Plain notes are not where protected ones go.
    EXPECT_TRUE(notesTool({"list"}).out.isEmpty());

    run = notesTool({"--protected", "add", "Other"}, "wrong\ntext");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("wrong password"));
    EXPECT_EQ(bytesOf(path), saved);
    EXPECT_EQ(notesTool({"--protected", "list"}, "").exitCode, 2);

    EXPECT_EQ(notesTool({"--protected", "show", "Bank"}, "s3cret\n").out,
              "PIN 4711\nsecond line\n");

    // What the tool wrote is what the programs read.
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    ASSERT_EQ(file.unlock("s3cret", notes), NotesFile::Status::Ok);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes[0].toMap().value("x"), 6);
}

// A copy of the tool where no crypto module can be found, as when libkorvale-crypto.so was lost:
// the protected notes say why they do not open, whatever the command, and nothing is written;
// the plain notes go on without it.
TEST(NotesTool, WithoutTheCryptoModuleProtectedNotesSaySoAndNothingIsWritten)
{
    if (QFile::exists(KORVALE_INSTALLED_MODULE_DIR "/libkorvale-crypto.so"))
        GTEST_SKIP() << "an installed crypto module would be found";
    TemporaryHome home;
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    ASSERT_EQ(notesTool({"--protected", "add", "Bank"}, "s3cret\ns3cret\nPIN 4711").exitCode, 0);
    const QByteArray saved = bytesOf(path);
    ASSERT_FALSE(saved.isEmpty());

    ASSERT_TRUE(QDir().mkpath(home.path() + "/bare"));
    const QString bare = home.path() + "/bare/korvale-notes";
    ASSERT_TRUE(QFile::copy(builtProgram(QStringLiteral("bin/korvale-notes")), bare));
    for (const QStringList &arguments :
         {QStringList{"--protected", "list"}, QStringList{"--protected", "show", "Bank"},
          QStringList{"--protected", "add", "Other"}}) {
        const ProgramRun run = runProgram(bare, arguments, "s3cret\ns3cret\nmore text");
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("libkorvale-crypto.so is missing or does not load"))
            << run.err.constData();
        EXPECT_EQ(run.out, QByteArray());
    }
    EXPECT_EQ(bytesOf(path), saved);
    EXPECT_EQ(runProgram(bare, {"add", "Plain"}, "text").exitCode, 0);
    EXPECT_EQ(runProgram(bare, {"list"}).out, "Plain\n");
    // The same file still opens where the module is.
    EXPECT_EQ(notesTool({"--protected", "show", "Bank"}, "s3cret\n").out, "PIN 4711\n");
}

// Once one note proved the password right, a note whose salt or key check was damaged is a
// damaged note, kept with the old file at the next save, not a wrong password for the whole file.
TEST(NotesTool, ADamagedSaltOrKeyCheckLeavesTheOtherProtectedNotesOpen)
{
    TemporaryHome home;
    // Written here at the lowest cost a file may state, which the tool then derives with: fast.
    const std::optional<ProtectedKey> key =
        ProtectedKey::derive("pw", ProtectedKey::newSalt(), {10, 8, 1});
    ASSERT_TRUE(key.has_value());
    QVariantList blobs;
    for (const char *title : {"Alpha", "Beta", "Gamma"})
        blobs.append(ProtectedNoteBlob::seal({{"x", 6}, {"T", title}, {"t", "text"}}, *key));
    // One bit of the first note's salt (met before any note proved the password) and of the
    // third note's key check.
    QByteArray alpha = blobs[0].toByteArray();
    alpha[9] = char(alpha[9] ^ 0x10);
    blobs[0] = alpha;
    QByteArray gamma = blobs[2].toByteArray();
    gamma[9 + 16 + 3] = char(gamma[9 + 16 + 3] ^ 0x01);
    blobs[2] = gamma;
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    const QByteArray damaged = KorvaleArchive::encode(blobs).bytes;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
    }

    ProgramRun run = notesTool({"--protected", "list"}, "pw\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "Beta\n");
    EXPECT_TRUE(run.err.contains("2 protected notes")) << run.err.constData();
    // Damage proves nothing: another password is still refused.
    EXPECT_EQ(notesTool({"--protected", "list"}, "pW\n").exitCode, 3);

    run = notesTool({"--protected", "add", "Delta"}, "pw\nfourth");
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QString aside = keptAsideIn(run.err);
    ASSERT_FALSE(aside.isEmpty()) << run.err.constData();
    EXPECT_TRUE(aside.endsWith(".damaged")) << aside.toStdString();
    EXPECT_EQ(bytesOf(aside), damaged);
    EXPECT_EQ(notesTool({"--protected", "list"}, "pw\n").out, "Beta\nDelta\n");
}

namespace {

// A blob of the first format: the archived record, compressed, under the password's 32-bit code.
QByteArray firstFormatBlob(const QByteArray &plain, const QString &password)
{
    const QByteArray compressed = QOR_DataUtils::compressedData(plain);
    QByteArray blob(qsizetype(QOR_DataUtils::encryptedSizeFor(std::size_t(compressed.size()))),
                    '\0');
    const std::size_t size = QOR_DataUtils::encryptDataSizeToMaxSizeWithPassword(
        compressed.constData(), std::size_t(compressed.size()), blob.data(),
        std::size_t(blob.size()),
        CommonKorvaleClass::createStringFromPassword(
            CommonKorvaleClass::getPasswordCode(password)));
    blob.truncate(qsizetype(size));
    return blob;
}

} // namespace

// The first format's code ignores the first character of a long password: such a typo opens the
// file. Rewriting it asks for the password a second time and keeps the old file, which the real
// password still opens.
TEST(NotesTool, AMistypedPasswordCannotReKeyAFileOfTheFirstFormatUnnoticed)
{
    TemporaryHome home;
    const QString real = "correct horse battery staple, 2026";
    const QString typo = "Correct horse battery staple, 2026";
    ASSERT_EQ(CommonKorvaleClass::getPasswordCode(typo), CommonKorvaleClass::getPasswordCode(real));

    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
    const QVariantMap bank{{"x", 6}, {"T", "Bank"}, {"t", "PIN 4711"}};
    // The second blob decrypts to something that is not a record.
    const QVariantList blobs{
        firstFormatBlob(KorvaleArchive::encode(bank).bytes, real),
        firstFormatBlob(KorvaleArchive::encode(QVariantList{1, 2}).bytes, real)};
    const QByteArray original = KorvaleArchive::encode(blobs).bytes;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }
    const QByteArray typoLine = typo.toUtf8() + "\n";
    const QByteArray realLine = real.toUtf8() + "\n";

    // Reading asks nothing more; the record that is not a note is counted, not hidden.
    ProgramRun run = notesTool({"--protected", "list"}, realLine);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "Bank\n");
    EXPECT_TRUE(run.err.contains("1 protected note of")) << run.err.constData();

    // A rewrite with the typo, then the real password on the second line: refused, unchanged.
    run = notesTool({"--protected", "add", "New"}, typoLine + realLine + "text");
    EXPECT_EQ(run.exitCode, 3) << run.err.constData();
    EXPECT_EQ(bytesOf(path), original);

    // The same typo twice is believed, but the first file is kept, and the tool says where.
    run = notesTool({"--protected", "add", "New"}, typoLine + typoLine + "text");
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QString aside = keptAsideIn(run.err);
    ASSERT_FALSE(aside.isEmpty()) << run.err.constData();
    // The file the real password opens, as it was: the list above read it.
    EXPECT_EQ(bytesOf(aside), original);
}

TEST(NotesText, ReplacesLiterallyAndCaseSensitivelyInTitleKeywordsAndText)
{
    const QVariantMap note{
        {"x", 6}, {"T", "cat list"}, {"K", "Cat"}, {"t", "concatenate the cat"}, {"A", "cat"}};
    const QVariantMap changed = NotesText::replaced(note, "cat", "dog");
    EXPECT_EQ(changed.value("T"), "dog list");
    EXPECT_EQ(changed.value("K"), "Cat");
    EXPECT_EQ(changed.value("t"), "condogenate the dog");
    EXPECT_EQ(changed.value("A"), "cat");
    EXPECT_EQ(NotesText::replaced(note, "cat", "").value("t"), "conenate the ");
}
