// Programs of the suite saving the same lists at the same moment, as real processes, and lists
// whose path holds something that is not a file.
#include "SaveLock.h"
#include "ArchiveFile.h"
#include "BoundedFile.h"
#include "ClipboardList.h"
#include "CommonKorvaleClass.h"
#include "FifoSupport.h"
#include "KorvaleArchive.h"
#include "ListFile.h"
#include "NoteLists.h"
#include "NotesFile.h"
#include "PasteboardContents.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "ToDoItems.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <future>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

QString dataPath(const QString &name)
{
    return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(name);
}

QSet<QString> titlesIn(const QVariantList &list)
{
    QSet<QString> titles;
    for (const QVariant &item : list)
        titles.insert(item.toMap().value(QStringLiteral("T")).toString());
    return titles;
}

std::unique_ptr<QProcess> startProgram(const QString &program, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, arguments);
    EXPECT_TRUE(process->waitForStarted()) << qPrintable(program);
    return process;
}

// A loop of `korvale-notes add` runs, each a process of its own, as a user's script would make.
std::unique_ptr<QProcess> notesLoop(const QString &prefix, int count)
{
    return startProgram(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"),
                         QStringLiteral("i=0; while [ $i -lt %1 ]; do printf text | \"$0\" add "
                                        "\"%2 $i\" >/dev/null || exit 1; i=$((i+1)); done")
                             .arg(count)
                             .arg(prefix),
                         builtProgram(QStringLiteral("bin/korvale-notes"))});
}

std::unique_ptr<QProcess> saverLoop(const QString &fileName, const QString &prefix, int count)
{
    return startProgram(builtProgram(QStringLiteral("bin/korvale-test-saver")),
                        {fileName, prefix, QString::number(count)});
}

QSet<QString> expectedTitles(const QStringList &prefixes, int count)
{
    QSet<QString> titles;
    for (const QString &prefix : prefixes)
        for (int i = 0; i < count; ++i)
            titles.insert(QStringLiteral("%1 %2").arg(prefix).arg(i));
    return titles;
}

bool allFinished(const std::vector<std::unique_ptr<QProcess>> &processes)
{
    for (const auto &process : processes)
        if (process->state() != QProcess::NotRunning && !process->waitForFinished(0))
            return false;
    return true;
}

} // namespace

// Without the lock, a save between another program's read and rename dropped its record: two
// loops of 60 notes kept 86 to 93 of 120.
TEST(SaveLock, ProgramsSavingOneListAtOnceLoseNothing)
{
    TemporaryHome home;
    constexpr int kToolRuns = 100;
    constexpr int kSaves = 150;
    std::vector<std::unique_ptr<QProcess>> others;
    others.push_back(notesLoop(QStringLiteral("A"), kToolRuns));
    others.push_back(notesLoop(QStringLiteral("B"), kToolRuns));
    for (const QString &file : {DataFileName::ToDo, DataFileName::Clipboard}) {
        others.push_back(saverLoop(file, QStringLiteral("A"), kSaves));
        others.push_back(saverLoop(file, QStringLiteral("B"), kSaves));
    }

    // This program saves too, meanwhile, as the manager or the agent would.
    NotesFile notesFile(NotesFile::Kind::Notes);
    ListFile toDoFile(DataFileName::ToDo, {}, &ToDoItems::sort);
    ListFile clipboardFile(DataFileName::Clipboard, {}, &ClipboardList::sortList);
    QVariantList notes, toDos = toDoFile.read(), entries = clipboardFile.read();
    notesFile.read(notes);
    int mine = 0;
    for (; mine < 1000 && (mine < 30 || !allFinished(others)); ++mine) {
        const QString title = QStringLiteral("C %1").arg(mine);
        notes.append(QVariantMap{{"x", 5}, {"T", title}, {"N", QStringLiteral("text")}});
        ASSERT_EQ(notesFile.save(notes), NotesFile::Status::Ok);
        toDos.append(ToDoItems::newRecord(title, QDateTime::currentDateTimeUtc(), false));
        ASSERT_TRUE(toDoFile.save(toDos));
        ClipboardList::add(entries, title,
                           PasteboardContents::pack(
                               {{PasteboardContents::TypeString, QVariantMap{{"string", title}}}}));
        ASSERT_TRUE(clipboardFile.save(entries));
    }
    for (const auto &process : others) {
        ASSERT_TRUE(process->state() == QProcess::NotRunning || process->waitForFinished(180000));
        EXPECT_EQ(process->exitCode(), 0) << qPrintable(process->arguments().join(' '));
    }

    QSet<QString> mineTitles;
    for (int i = 0; i < mine; ++i)
        mineTitles.insert(QStringLiteral("C %1").arg(i));
    const QSet<QString> notesWanted = expectedTitles({"A", "B"}, kToolRuns) + mineTitles;
    const QSet<QString> listWanted = expectedTitles({"A", "B"}, kSaves) + mineTitles;
    for (const QString &file : {DataFileName::Notes, DataFileName::ToDo, DataFileName::Clipboard}) {
        const QSet<QString> wanted = file == DataFileName::Notes ? notesWanted : listWanted;
        const QSet<QString> found = titlesIn(ArchiveFile::readList(dataPath(file)));
        EXPECT_EQ(found.size(), wanted.size()) << qPrintable(file);
        EXPECT_TRUE(found.contains(wanted))
            << qPrintable(file) << ": " << (wanted - found).size() << " records lost";
    }
}

// A program holding the lock delays a save, never blocks it for good: the agent's main thread
// gives up within its short wait and keeps the change, a worker waits the holder out, and a
// holder that dies releases it at once.
TEST(SaveLock, AHolderDelaysASaveForABoundedTimeAndReleasesItWhenItDies)
{
    TemporaryHome home;
    ListFile file(DataFileName::ToDo, {}, &ToDoItems::sort);
    QVariantList list = {ToDoItems::newRecord("First", QDateTime::currentDateTimeUtc(), false)};
    ASSERT_TRUE(file.save(list));
    const QString lockPath = SaveLock::lockPathFor(dataPath(DataFileName::ToDo));
    auto holdLock = [&lockPath](const QString &seconds) {
        // The holder is the sleeping process itself, so killing it releases the lock and leaves
        // no orphan holding the test's output open.
        auto holder = startProgram(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("exec 9>>\"$0\" && flock 9 && exec sleep \"$1\""),
             lockPath, seconds});
        // Held once a save cannot have it at once.
        QElapsedTimer waited;
        waited.start();
        while (SaveLock(dataPath(DataFileName::ToDo), 0ms).held() && waited.elapsed() < 10000)
            QThread::msleep(5);
        return holder;
    };

    SaveLock::setMainThreadWait(10ms);
    auto holder = holdLock(QStringLiteral("30"));
    list.append(ToDoItems::newRecord("Second", QDateTime::currentDateTimeUtc(), false));
    QElapsedTimer stalled;
    stalled.start();
    EXPECT_FALSE(file.save(list));
    EXPECT_LT(stalled.elapsed(), 1000); // a hang check: the wait itself is 10 ms
    EXPECT_EQ(file.lastFailure().reason, SaveFailure::Reason::Busy);
    EXPECT_TRUE(file.hasUnsavedChange());
    EXPECT_EQ(list.size(), 2); // the change stays in memory

    // A holder killed mid-save releases the lock with its last descriptor.
    holder->kill();
    holder->waitForFinished();
    file.refresh(list);
    EXPECT_FALSE(file.hasUnsavedChange());
    EXPECT_EQ(titlesIn(ArchiveFile::readList(dataPath(DataFileName::ToDo))),
              (QSet<QString>{"First", "Second"}));

    // Off the main thread a save waits up to two seconds for the holder to finish.
    holder = holdLock(QStringLiteral("0.5"));
    list.append(ToDoItems::newRecord("Third", QDateTime::currentDateTimeUtc(), false));
    const bool saved = std::async(std::launch::async, [&] { return file.save(list); }).get();
    EXPECT_TRUE(saved);
    holder->waitForFinished();
    EXPECT_EQ(ArchiveFile::readList(dataPath(DataFileName::ToDo)).size(), 3);
    SaveLock::setMainThreadWait(2000ms);
}

// A FIFO, a link to /dev/zero, a folder or a file larger than any list, where a list should be:
// every program answers at once, its memory stays bounded, and nothing is read or replaced.
TEST(ListFiles, WhatIsNotAListFileIsNeitherReadNorReplacedAndEveryProgramAnswers)
{
    TemporaryHome home;
    const QString notes = dataPath(DataFileName::Notes);
    ASSERT_TRUE(makeFifo(notes));
    ASSERT_TRUE(linkToDevZero(dataPath(DataFileName::ToDo)));
    ASSERT_TRUE(QDir().mkpath(dataPath(DataFileName::Clipboard) + "/inside"));
    const QString huge = dataPath(DataFileName::Reminder);
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(ArchiveFile::sizeLimitFor(huge) + 1)); // sparse
    }
    const QString preferences = SharedPreferences::defaultPath();
    ASSERT_TRUE(makeFifo(preferences));

    for (const QStringList &arguments : {QStringList{"list"}, QStringList{"add", "Kept"}}) {
        QProcess tool;
        tool.start(builtProgram(QStringLiteral("bin/korvale-notes")), arguments);
        tool.write("text");
        tool.closeWriteChannel();
        if (!tool.waitForFinished(30000)) {
            openWritingEnds({notes, preferences});
            FAIL() << "korvale-notes waited on a FIFO";
        }
        if (arguments.first() == "add") {
            EXPECT_EQ(tool.exitCode(), 1);
            EXPECT_TRUE(tool.readAllStandardError().contains("not a file")) << "said why";
        }
    }
    struct rusage used {
    };
    ::getrusage(RUSAGE_CHILDREN, &used);
    EXPECT_LT(used.ru_maxrss, 300 * 1024) << "KiB at most in a tool";

    const QVariantList fromLink =
        returnsWithoutAWriter({notes}, [] { return ListFile(DataFileName::ToDo, {}).read(); });
    EXPECT_TRUE(fromLink.isEmpty());
    EXPECT_TRUE(ListFile(DataFileName::Clipboard, {}).read().isEmpty());
    EXPECT_TRUE(ListFile(DataFileName::Reminder, {}).read().isEmpty());

    // Saves fail, said as such, and leave each thing where it is.
    for (const QString &name : {DataFileName::Notes, DataFileName::ToDo, DataFileName::Clipboard}) {
        ListFile file(name, {});
        QVariantList list = {ToDoItems::newRecord("New", QDateTime::currentDateTimeUtc(), false)};
        EXPECT_FALSE(file.save(list)) << qPrintable(name);
        EXPECT_EQ(file.lastFailure().reason, SaveFailure::Reason::NotAFile) << qPrintable(name);
    }
    SharedPreferences settings;
    settings.setValue("Key", 1);
    EXPECT_FALSE(settings.synchronize());
    EXPECT_EQ(settings.lastFailure().reason, SaveFailure::Reason::NotAFile);
    EXPECT_EQ(settings.intValue("Key"), 1) << "the change stays staged";
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(notes).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QFileInfo(dataPath(DataFileName::ToDo)).symLinkTarget(), "/dev/zero");
    EXPECT_TRUE(QFileInfo(dataPath(DataFileName::Clipboard)).isDir());
    // The oversized file went aside whole: nothing of it was read, and a list can be saved.
    EXPECT_FALSE(QFileInfo::exists(huge));
    EXPECT_EQ(QDir(QFileInfo(huge).path()).entryList({"Reminder.krvdata.*.damaged"}).size(), 1);
}

// A list of more records than any list holds is read up to the cap, said in the log, and kept
// whole beside itself before the next save writes the shorter list.
TEST(ListFiles, AListOverTheRecordCapIsCutAndKeptWhole)
{
    TemporaryHome home;
    QVariantList many;
    const qsizetype count = BoundedFile::Limit::ListRecords + 10;
    many.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        many.append(qlonglong(i));
    ASSERT_TRUE(ArchiveFile::write(dataPath(DataFileName::ToDo), many));
    many.clear();

    CapturedLog log;
    ListFile file(DataFileName::ToDo, {});
    QVariantList read = file.read();
    EXPECT_EQ(read.size(), BoundedFile::Limit::ListRecords);
    EXPECT_EQ(read.last().toLongLong(), BoundedFile::Limit::ListRecords - 1);
    EXPECT_TRUE(log.lines().join('\n').contains("TooManyRecords"))
        << qPrintable(log.lines().join('\n'));
    const QStringList kept = QDir(home.dataFolder()).entryList({"ToDo.krvdata.*.cut"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    read.removeLast();
    ASSERT_TRUE(file.save(read));
    QFile whole(QDir(home.dataFolder()).filePath(kept.first()));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    quint64 inFile = 0;
    KorvaleArchive::decodeList(whole.readAll(), 1, &inFile);
    EXPECT_EQ(inFile, quint64(count));
}
