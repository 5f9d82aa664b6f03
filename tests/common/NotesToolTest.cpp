// korvale-notes driven as a user would, through its arguments and standard input.
#include "CommonKorvaleClass.h"
#include "NotesFile.h"
#include "NotesText.h"
#include "TestEnvironment.h"

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
    EXPECT_EQ(bytesOf(exported), QStringLiteral("\tonly text\t\nCafé\tcrème\t\nLines\tfirst. second. \t\n"
                                                "Mac one\ta\t\nMac two\tb\t\nPlan\tbeds. paths\t\n")
                                     .toUtf8());

    EXPECT_EQ(notesTool({"show", "Nothing"}).exitCode, 1);
    EXPECT_EQ(notesTool({"import", home.path() + "/missing.txt"}).exitCode, 1);
    EXPECT_EQ(notesTool({"frobnicate"}).exitCode, 2);
}

TEST(NotesTool, ProtectedNotesTakeThePasswordFromTheFirstLineAndAWrongOneChangesNothing)
{
    TemporaryHome home;
    ProgramRun run = notesTool({"--protected", "add", "Bank"}, "s3cret\nPIN 4711\nsecond line");
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ProtectedNotes);
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

    EXPECT_EQ(notesTool({"--protected", "show", "Bank"}, "s3cret\n").out, "PIN 4711\nsecond line\n");

    // What the tool wrote is what the programs read.
    NotesFile file(NotesFile::Kind::ProtectedNotes);
    QVariantList notes;
    ASSERT_EQ(file.unlock("s3cret", notes), NotesFile::Status::Ok);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes[0].toMap().value("x"), 6);
}

TEST(NotesText, ReplacesLiterallyAndCaseSensitivelyInTitleKeywordsAndText)
{
    const QVariantMap note{{"x", 6}, {"T", "cat list"}, {"K", "Cat"}, {"t", "concatenate the cat"}, {"A", "cat"}};
    const QVariantMap changed = NotesText::replaced(note, "cat", "dog");
    EXPECT_EQ(changed.value("T"), "dog list");
    EXPECT_EQ(changed.value("K"), "Cat");
    EXPECT_EQ(changed.value("t"), "condogenate the dog");
    EXPECT_EQ(changed.value("A"), "cat");
    EXPECT_EQ(NotesText::replaced(note, "cat", "").value("t"), "conenate the ");
}
