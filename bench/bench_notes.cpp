// Notes: unlocking 1,000 protected notes (one key derivation, then every note decrypted),
// saving 10,000 notes, importing a 10,000-line text file.
#include "BenchUtils.h"

#include "NoteLists.h"
#include "NotesFile.h"
#include "NotesText.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QVariantList makeNotes(int count, int kind)
{
    QVariantList notes;
    notes.reserve(count);
    for (int i = 0; i < count; ++i)
        notes.append(
            QVariantMap{{"x", kind},
                        {"T", QStringLiteral("Note %1 about the garden and the café").arg(i)},
                        {"K", QStringLiteral("home, plans")},
                        {"t",
                         QStringLiteral("Line one of note %1\nLine two with a few more words, "
                                        "accents é à ü and a number %2\nThird line.")
                             .arg(i)
                             .arg(i * 7919)}});
    return notes;
}

void report(const char *name, const std::vector<double> &runs)
{
    const Bench::Stats s = Bench::stats(runs);
    Bench::print((std::string(name) + "_median").c_str(), s.median, "ms");
    Bench::print((std::string(name) + "_p95").c_str(), s.p95, "ms");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);

    {
        // A new file takes the password only once it was given twice.
        NotesFile file(NotesFile::Kind::ProtectedNotes);
        QVariantList notes;
        if (file.unlock(QStringLiteral("correct horse battery"), notes) != NotesFile::Status::Ok
            || !file.confirmPassword(QStringLiteral("correct horse battery")))
            std::abort();
        notes = makeNotes(1000, 6);
        if (file.save(notes) != NotesFile::Status::Ok)
            std::abort();
    }
    report("notes_unlock_1000_protected", Bench::timeRuns(9, [] {
               NotesFile file(NotesFile::Kind::ProtectedNotes);
               QVariantList notes;
               if (file.unlock(QStringLiteral("correct horse battery"), notes)
                       != NotesFile::Status::Ok
                   || notes.size() != 1000)
                   std::abort();
           }));

    const QVariantList plain = makeNotes(10000, 5);
    // As the manager saves: the file it read, one note changed.
    NotesFile plainFile(NotesFile::Kind::Notes);
    QVariantList first = plain;
    plainFile.save(first);
    int edits = 0;
    report("notes_save_10000", Bench::timeRuns(11, [&] {
               QVariantList notes = plain;
               notes[0] = QVariantMap{{"x", 5}, {"T", "Edited"}, {"t", QString::number(++edits)}};
               if (plainFile.save(notes) != NotesFile::Status::Ok || notes.size() != 10000)
                   std::abort();
           }));
    // Another program saved meanwhile: the three-way merge of 10,000-note lists.
    QVariantList mine = plain;
    mine[5] = QVariantMap{{"x", 5}, {"T", "Mine"}, {"t", "edit"}};
    QVariantList theirs = plain;
    theirs.append(QVariantMap{{"x", 5}, {"T", "Theirs"}, {"t", "added"}});
    report("notes_merge_10000", Bench::timeRuns(11, [&] {
               if (NoteLists::merge(plain, mine, theirs).size() != 10001)
                   std::abort();
           }));

    // Saving 10,000 protected notes with the key held: every note sealed anew.
    NotesFile protectedFile(NotesFile::Kind::ProtectedNotes);
    QVariantList ignored;
    if (protectedFile.unlock(QStringLiteral("correct horse battery"), ignored)
        != NotesFile::Status::Ok)
        std::abort();
    const QVariantList secret = makeNotes(10000, 6);
    report("notes_save_10000_protected", Bench::timeRuns(11, [&] {
               QVariantList notes = secret;
               if (protectedFile.save(notes) != NotesFile::Status::Ok)
                   std::abort();
           }));

    const QByteArray text = NotesText::exportNotes(plain);
    report("notes_import_10000_lines", Bench::timeRuns(11, [&text] {
               if (NotesText::importNotes(text, false).size() != 10000)
                   std::abort();
           }));
    return 0;
}
