// The suite's folders hold the user's notes: only the user may enter them, whether a first save
// made them or they were there already, open to others.
#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

int modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

void saveBoth()
{
    CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 5}, {"T", "Private"}}},
                                       DataFileName::Notes);
    SharedPreferences preferences;
    preferences.setValue("RecordApplicationsUse", 1);
    ASSERT_TRUE(preferences.synchronize());
}

} // namespace

TEST(PrivateFolder, TheSettingsAndDataFoldersAreTheOwnersAloneAndAreClosedWhenFoundOpen)
{
    TemporaryHome home;
    const QString dataBase = QFileInfo(home.dataFolder()).path(); // ".../Korvale"
    const QStringList folders{home.configFolder(), dataBase, home.dataFolder()};
    const QString notes = home.dataFolder() + "/" + DataFileName::Notes;
    const QString preferences = SharedPreferences::defaultPath();
    ASSERT_TRUE(preferences.startsWith(home.configFolder()));
    for (const QString &folder : folders)
        ASSERT_FALSE(QFileInfo::exists(folder));

    CapturedLog log;
    saveBoth();
    for (const QString &folder : folders)
        EXPECT_EQ(modeOf(folder), 0700) << folder.toStdString();
    EXPECT_EQ(modeOf(notes), 0600);
    EXPECT_EQ(modeOf(preferences), 0600);
    EXPECT_TRUE(log.lines().filter("open to other users").isEmpty());

    // Left open by an earlier version, or by hand.
    for (const QString &folder : folders)
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    for (const QString &file : {notes, preferences})
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0644), 0);
    saveBoth();
    for (const QString &folder : folders) {
        EXPECT_EQ(modeOf(folder), 0700) << folder.toStdString();
        EXPECT_EQ(log.lines().filter(folder + " was open to other users").size(), 1)
            << folder.toStdString() << ": " << log.lines().join('\n').toStdString();
    }
    EXPECT_EQ(modeOf(notes), 0600);
    EXPECT_EQ(modeOf(preferences), 0600);

    // Said once: the next saves find them closed.
    saveBoth();
    EXPECT_EQ(log.lines().filter("open to other users").size(), folders.size());
}
