// The command-line tools speak the session's language with the windows' string tables.
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QLocale>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Said {
    int exitCode = -1;
    QString err;
};

// Runs a tool of the build with the locale's variables as a session sets them; none of the
// test's own (LANGUAGE, LC_ALL) is left to decide in their place.
Said runTool(const char *tool, const QStringList &arguments,
             const std::initializer_list<std::pair<const char *, const char *>> &locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(QString::fromLatin1(name));
    for (const auto &[name, value] : locale)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(builtProgram(QStringLiteral("bin/") + QLatin1String(tool)), arguments);
    process.closeWriteChannel();
    Said said;
    if (!process.waitForFinished(60000))
        return said;
    said.exitCode = process.exitCode();
    said.err = QString::fromUtf8(process.readAllStandardError());
    return said;
}

QString textIn(const char *language, const char *key)
{
    QOR_StringUtils::installTranslations(QLocale(QString::fromLatin1(language)));
    const QString text = QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
    return text;
}

QString countIn(const char *language, const char *key, int count)
{
    QOR_StringUtils::installTranslations(QLocale(QString::fromLatin1(language)));
    const QString text =
        QOR_StringUtils::getLocalizedStringForCount(QString::fromLatin1(key), count);
    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
    return text;
}

} // namespace

// A French session, whether it says so in LANG or only in LC_MESSAGES, reads the tools' errors,
// counts and usage in French; an English one in English.
TEST(ToolLanguage, ToolsSayTheirMessagesInTheSessionsLanguage)
{
    TemporaryHome home;
    const QString missing = home.path() + QStringLiteral("/nowhere.krvdata");
    const QString frenchMissing = textIn("fr", "ToolNoSuchFile").arg(missing);
    const QString englishMissing = textIn("en", "ToolNoSuchFile").arg(missing);
    ASSERT_NE(frenchMissing, englishMissing);

    using Locale = std::initializer_list<std::pair<const char *, const char *>>;
    const Locale frenchSessions[] = {{{"LANG", "fr_FR.UTF-8"}},
                                     {{"LANG", "C.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}};
    for (const Locale &french : frenchSessions) {
        const Said dump = runTool("korvale-data", {QStringLiteral("dump"), missing}, french);
        EXPECT_EQ(dump.exitCode, 1);
        EXPECT_EQ(dump.err, QStringLiteral("korvale-data: ") + frenchMissing + QLatin1Char('\n'));
    }
    EXPECT_EQ(runTool("korvale-data", {QStringLiteral("dump"), missing}, {{"LANG", "C.UTF-8"}}).err,
              QStringLiteral("korvale-data: ") + englishMissing + QLatin1Char('\n'));

    const Locale french = {{"LANG", "fr_FR.UTF-8"}};
    const struct {
        const char *tool;
        const char *usage;
    } usages[] = {{"korvale-data", "ToolDataUsage"},
                  {"korvale-notes", "ToolNotesUsage"},
                  {"korvale-clipboard", "ToolClipboardUsage"},
                  {"korvale-search", "ToolSearchUsage"}};
    for (const auto &usage : usages) {
        // korvale-search is built only with the agent's search.
        if (!QFile::exists(builtProgram(QStringLiteral("bin/") + QLatin1String(usage.tool))))
            continue;
        const Said said = runTool(usage.tool, {QStringLiteral("--help")}, french);
        EXPECT_EQ(said.exitCode, 2) << usage.tool;
        EXPECT_EQ(said.err, textIn("fr", usage.usage)) << usage.tool;
    }

    // A count takes the language's plural form.
    const QString notes = home.path() + QStringLiteral("/notes.txt");
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Courses\tpain, lait\n");
    file.close();
    const Said imported = runTool("korvale-notes", {QStringLiteral("import"), notes}, french);
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.err,
              QStringLiteral("korvale-notes: ") + countIn("fr", "ToolNotesImported", 1)
                  + QLatin1Char('\n'));
    EXPECT_NE(countIn("fr", "ToolNotesImported", 1), countIn("fr", "ToolNotesImported", 2));
}
