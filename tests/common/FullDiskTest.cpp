// The data and settings folders on a file system with no room left: a small tmpfs where the test
// may mount one (CI runs as root), else the fault put in the file layer.
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "NotesFile.h"
#include "QOR_StringUtils.h"
#include "SaveFailures.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>

#include <sys/mount.h>

#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each folder gets a tmpfs of its own, filled up once the files the test starts with are in.
class FullDisk
{
public:
    explicit FullDisk(const QStringList &folders)
    {
        for (const QString &folder : folders) {
            QDir().mkpath(folder);
            if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                        "size=512k,mode=0700")
                != 0)
                break;
            mMounted << folder;
        }
        if (mMounted.size() != folders.size()) {
            unmount();
            mFaultInjected = true;
        }
    }
    ~FullDisk()
    {
        AtomicFile::failWritesForTesting(0);
        unmount();
    }
    bool isRealFileSystem() const { return !mFaultInjected; }
    void fill()
    {
        if (mFaultInjected) {
            AtomicFile::failWritesForTesting(ENOSPC);
            return;
        }
        const QByteArray block(4096, 'x');
        for (const QString &folder : std::as_const(mMounted)) {
            QFile filler(folder + QStringLiteral("/filler"));
            ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
            while (filler.write(block) == block.size() && filler.flush()) { }
        }
    }
    void makeRoom()
    {
        AtomicFile::failWritesForTesting(0);
        for (const QString &folder : std::as_const(mMounted))
            QFile::remove(folder + QStringLiteral("/filler"));
    }

private:
    void unmount()
    {
        for (const QString &folder : std::as_const(mMounted))
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
        mMounted.clear();
    }
    QStringList mMounted;
    bool mFaultInjected = false;
};

} // namespace

TEST(FullDisk, EveryWriterFailsAsSuchKeepsItsChangeAndLeavesTheFileWhole)
{
    TemporaryHome home;
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    FullDisk disk({home.dataFolder(), home.configFolder()});
    const QString notesPath =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes);
    NotesFile notes(NotesFile::Kind::Notes);
    QVariantList list{QVariantMap{{"x", 5}, {"T", "Kept"}, {"N", "text"}}};
    ASSERT_EQ(notes.save(list), NotesFile::Status::Ok);
    SharedPreferences settings;
    settings.setValue("LicenseAccepted", 1);
    ASSERT_TRUE(settings.synchronize());
    const QByteArray notesBefore = bytesOf(notesPath);
    const QByteArray settingsBefore = bytesOf(settings.path());
    QStringList said;
    SaveFailures::setPresenter([&said](const QString &path, const SaveFailure &failure) {
        said << QFileInfo(path).fileName() + ": " + failure.reasonText();
    });
    disk.fill();

    if (disk.isRealFileSystem()) {
        QProcess tool;
        tool.start(builtProgram("bin/korvale-notes"), {"add", "Lost?"});
        tool.write("new text");
        tool.closeWriteChannel();
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 1);
        EXPECT_TRUE(tool.readAllStandardError().contains("The disk is full."));
    }
    list.append(QVariantMap{{"x", 5}, {"T", "New"}, {"N", "typed"}});
    EXPECT_EQ(notes.save(list), NotesFile::Status::NotSaved);
    EXPECT_EQ(notes.lastFailure().reason, SaveFailure::Reason::DiskFull);
    EXPECT_EQ(list.size(), 2);
    settings.setValue("Theme", 2);
    EXPECT_FALSE(settings.synchronize());
    EXPECT_EQ(settings.lastFailure().reason, SaveFailure::Reason::DiskFull);
    EXPECT_EQ(settings.intValue("Theme"), 2) << "kept staged";
    EXPECT_EQ(bytesOf(notesPath), notesBefore);
    EXPECT_EQ(bytesOf(settings.path()), settingsBefore);
    QCoreApplication::processEvents();
    EXPECT_EQ(
        said,
        (QStringList{"Notes.krvdata: The disk is full.", "preferences.cbor: The disk is full."}));

    disk.makeRoom();
    EXPECT_EQ(notes.save(list), NotesFile::Status::Ok);
    EXPECT_TRUE(settings.synchronize());
    EXPECT_EQ(SharedPreferences().intValue("Theme"), 2);
    EXPECT_EQ(KorvaleArchive::decodeList(bytesOf(notesPath))->size(), 2);
    SaveFailures::setPresenter({});
}
