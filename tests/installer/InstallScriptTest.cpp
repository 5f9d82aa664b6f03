#include "InstallScript.h"
#include "BoundedFile.h"
#include "FifoSupport.h"
#include "QOR_StringUtils.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

namespace {

QByteArray script(const QByteArray &lineEnd)
{
    QByteArray text = "Free comment: _quit\t/never/run" + lineEnd + "{GROUP}" + lineEnd
        + "_appl\tKorvale" + lineEnd + "_icon" + lineEnd + "_news\tnews" + lineEnd + "{GROUP}"
        + lineEnd + "// _trash\t/commented/out" + lineEnd + "_appl" + lineEnd
        + "_copy\tkorvale\t/Applications" + lineEnd + "_launch\t/Applications/korvale/bin/a"
        + lineEnd + "{GROUP}" + lineEnd + "_trash\t/Applications/korvale" + lineEnd + "{GROUP}"
        + lineEnd + "_trashNoErr\t/Applications/korvale" + lineEnd + "{GROUP}" + lineEnd
        + "_trash\t/fifth/group" + lineEnd;
    return text;
}

} // namespace

// The same script with Unix, Windows and classic Mac line ends reads to the same model: short
// lines, comments and the free text before the first group give no steps, the fifth group is
// dropped.
TEST(InstallScript, ReadsTheSameStepsWhateverTheLineEnds)
{
    for (const char *lineEnd : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(QByteArray(lineEnd).toHex().toStdString());
        const InstallScript model = InstallScriptReader::readScript(script(lineEnd));
        EXPECT_EQ(model.appName, "Korvale");
        EXPECT_EQ(model.newsName, "news");
        EXPECT_TRUE(model.iconName.isEmpty());
        ASSERT_TRUE(model.installSteps);
        EXPECT_EQ(
            *model.installSteps,
            QStringList({"_copy\tkorvale\t/Applications", "_launch\t/Applications/korvale/bin/a"}));
        EXPECT_EQ(model.uninstallSteps, QStringList({"_trash\t/Applications/korvale"}));
        EXPECT_EQ(model.uninstallIgnoreSettingsSteps,
                  QStringList({"_trashNoErr\t/Applications/korvale"}));
        EXPECT_TRUE(model.isCorrect());
    }
}

TEST(InstallScript, FallsBackToMacRomanWhenTheBytesAreNotUtf8)
{
    // "Éditeur Café" saved as Mac OS Roman: É is 0x83, é is 0x8E.
    const QByteArray bytes = "{GROUP}\n_appl\t\x83"
                             "diteur Caf\x8E\n{GROUP}\n_copy\ta\tb\n";
    const InstallScript model = InstallScriptReader::readScript(bytes);
    EXPECT_EQ(model.appName, QStringLiteral("Éditeur Café"));
    EXPECT_TRUE(model.isCorrect());

    const InstallScript utf8 =
        InstallScriptReader::readScript(QStringLiteral("{GROUP}\n_appl\tÉditeur Café\n").toUtf8());
    EXPECT_EQ(utf8.appName, QStringLiteral("Éditeur Café"));
}

TEST(InstallScript, IsNotCorrectWithoutAGroupOrInstallSteps)
{
    EXPECT_FALSE(InstallScriptReader::readScript({}).isCorrect());
    EXPECT_FALSE(InstallScriptReader::readScript("_copy\tkorvale\t/Applications\n").isCorrect());
    const InstallScript headerOnly = InstallScriptReader::readScript("{GROUP}\n_appl\tKorvale\n");
    EXPECT_EQ(headerOnly.appName, "Korvale");
    EXPECT_FALSE(headerOnly.installSteps);
    EXPECT_FALSE(headerOnly.isCorrect());
    const InstallScript emptyInstall =
        InstallScriptReader::readScript("{GROUP}\n_appl\tKorvale\n{GROUP}\n// none\n");
    EXPECT_TRUE(emptyInstall.installSteps);
    EXPECT_FALSE(emptyInstall.isCorrect());
}

// Header values name files of the resource folder; one that is a path is refused, so the window
// never loads an icon or installs a bundle from elsewhere.
TEST(InstallScript, RefusesHeaderFileNamesThatArePaths)
{
    const InstallScript model = InstallScriptReader::readScript(
        "{GROUP}\n_bundle\t../../etc\n_icon\t/etc/passwd\n_news\t..\n{GROUP}\n_copy\ta\tb\n");
    EXPECT_TRUE(model.bundleName.isEmpty());
    EXPECT_TRUE(model.iconName.isEmpty());
    EXPECT_TRUE(model.newsName.isEmpty());

    // Found by the fuzz target: a NUL in a name would cut it short where the system reads it.
    const InstallScript withNul = InstallScriptReader::readScript(
        QByteArray("{GROUP}\n_bundle\tEdi\0tor.app\n{GROUP}\n_copy\ta\tb\n", 46));
    EXPECT_TRUE(withNul.bundleName.isEmpty());
}

// The project's own script: every step it names is one the run knows, and the two uninstall
// lists differ only by the settings.
TEST(InstallScript, TheSuiteScriptIsCorrect)
{
    QFile file(QStringLiteral(KORVALE_SOURCE_DIR "/packaging/installscript.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const InstallScript model = InstallScriptReader::readScript(file.readAll());
    EXPECT_EQ(model.bundleName, "korvale");
    ASSERT_TRUE(model.isCorrect());
    ASSERT_TRUE(model.uninstallSteps && model.uninstallIgnoreSettingsSteps);
    QStringList removedWithSettings = *model.uninstallSteps;
    for (const QString &step : *model.uninstallIgnoreSettingsSteps)
        EXPECT_TRUE(removedWithSettings.removeOne(step)) << step.toStdString();
    EXPECT_EQ(removedWithSettings,
              QStringList({"_trash\t$XDG_DATA_HOME/Korvale", "_trash\t$XDG_CONFIG_HOME/Korvale"}));

    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
    const QString description =
        InstallScriptReader::stepDescriptions(*model.installSteps, model.appName, true);
    // A header and one line per step that acts: "_appl" adds nothing.
    EXPECT_EQ(description.count(QLatin1Char('\n')), model.installSteps->size() - 1);
    EXPECT_TRUE(description.contains(QLatin1String("/Applications/korvale/bin/korvale-daemon")));
}

// The script is read as a regular file of at most BoundedFile::Limit::InstallScript bytes: a
// FIFO or a device in its place gives an empty model at once, and so does a longer file.
TEST(InstallScript, AScriptThatIsNoFileOrTooLongGivesNothing)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(InstallScriptReader::FileName);
    const QByteArray text = script("\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text + QByteArray(BoundedFile::Limit::InstallScript - text.size(), ' '));
    }
    EXPECT_TRUE(InstallScriptReader::readScriptInFolder(folder.path()).isCorrect());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(" ");
    }
    EXPECT_FALSE(InstallScriptReader::readScriptInFolder(folder.path()).isCorrect());

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(makeFifo(path));
    EXPECT_FALSE(returnsWithoutAWriter({path}, [&] {
                     return InstallScriptReader::readScriptInFolder(folder.path());
                 }).isCorrect());
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(linkToDevZero(path));
    EXPECT_FALSE(InstallScriptReader::readScriptInFolder(folder.path()).isCorrect());
}
