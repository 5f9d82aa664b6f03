#include "DesktopEntryReader.h"
#include "LocaleDateFormatter.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QResource>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <map>
#include <ostream>
#include <set>
#include <thread>

// Readable failures.
[[maybe_unused]] static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString Nbsp = QStringLiteral("\u00a0");

// English table installed, no override, numbers in en_US: the state a program starts in.
class StringUtilsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_EQ(QOR_StringUtils::installTranslations(QLocale(QLocale::English)), "en");
        ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage(QString()));
    }
    void TearDown() override
    {
        QOR_StringUtils::setLocalizationLanguage(QString());
        QOR_StringUtils::installTranslations(QLocale(QLocale::English));
        QLocale::setDefault(QLocale::system());
    }

    TemporaryHome mHome;
};

QString ts(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST_F(StringUtilsTest, SizesAtTheUnitThresholds)
{
    EXPECT_EQ(QOR_StringUtils::getKBValue(), 1000);
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(0), "0 byte");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(1), "1 byte");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(2), "2 bytes");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(999), "999 bytes");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(1000), "1.0 kB");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(1560), "1.6 kB");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(999'000), "999.0 kB");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(1'000'000), "1.0 MB");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(2'500'000'000), "2.5 GB");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(1'000'000'000'000), "1.0 TB");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(12'000'000'000'000'000), "12,000.0 TB");
}

TEST_F(StringUtilsTest, NegativeSizesKeepTheirUnitAndGainAMinus)
{
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(-1), "-1 byte");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(-999), "-999 bytes");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(-1500), "-1.5 kB");
    // The magnitude of the smallest count does not fit the signed type.
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(std::numeric_limits<qint64>::min()), "-9,223,372.0 TB");
}

TEST_F(StringUtilsTest, SizesFollowTheOverrideLanguage)
{
    ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage(QStringLiteral("fr")));
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(0), "0 octet");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(640), "640 octets");
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(-3'200'000), "-3.2 Mo");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(QOR_StringUtils::getSizeBytes(1500), "1,5 ko");
}

TEST_F(StringUtilsTest, LookupFallsBackToTheKey)
{
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("QuitButton")), "Quit");
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("NoSuchKeyAnywhere")),
              "NoSuchKeyAnywhere");
    // A key of one table is not found through another.
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKeyTable(QStringLiteral("QuitButton"),
                                                             QOR_StringUtils::LibraryTable),
              "QuitButton");
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKeyTable(QStringLiteral("StringUtils_%d KB"),
                                                             QOR_StringUtils::LibraryTable),
              "%L1 kB");

    ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage(QStringLiteral("fr")));
    EXPECT_EQ(QOR_StringUtils::getLocalizationLanguage(), "fr");
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("QuitTitle")),
              ts("Quitter Korvale") + Nbsp + u'?');
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("NoSuchKeyAnywhere")),
              "NoSuchKeyAnywhere");

    // No table for the language: the override stays as it was.
    EXPECT_FALSE(QOR_StringUtils::setLocalizationLanguage(QStringLiteral("xx")));
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("CancelButton")), "Annuler");

    ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage(QString()));
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("CancelButton")), "Cancel");
}

TEST_F(StringUtilsTest, InstalledTableFollowsTheUserLanguage)
{
    EXPECT_EQ(QOR_StringUtils::installTranslations(QLocale(QLocale::French, QLocale::Canada)),
              "fr");
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("QuitButton")), "Quitter");
    // Qt's own texts (the standard buttons) in the same language, from qt6-translations-l10n.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
    // Languages without a table get the English one, never the bare keys, and Qt's texts follow.
    EXPECT_EQ(QOR_StringUtils::installTranslations(QLocale(QLocale::German)), "en");
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("QuitButton")), "Quit");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_EQ(QOR_StringUtils::availableLanguages(), (QStringList{"en", "fr"}));
    // Stored as they are, so that a table is read where it lies in the program rather than
    // inflated into the heap at every start.
    for (const QString &language : QOR_StringUtils::availableLanguages()) {
        const QResource table(QStringLiteral(":/i18n/korvale_%1.qm").arg(language));
        ASSERT_TRUE(table.isValid()) << language.toStdString();
        EXPECT_EQ(table.compressionAlgorithm(), QResource::NoCompression) << language.toStdString();
    }
}

TEST_F(StringUtilsTest, MissingLibraryTableIsLoggedOnce)
{
    {
        QOR_StringUtils::forgetLocalizedStringsCheck();
        CapturedLog log;
        QOR_StringUtils::getSizeBytes(5);
        EXPECT_TRUE(log.lines().isEmpty());
    }
    QOR_StringUtils::removeTranslations();
    QOR_StringUtils::forgetLocalizedStringsCheck();
    CapturedLog log;
    EXPECT_EQ(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("QuitButton")),
              "QuitButton");
    QOR_StringUtils::checkLocalizedStringsOK();
    QOR_StringUtils::checkLocalizedStringsOK();
    EXPECT_EQ(log.lines(),
              QStringList{"QOR_StringUtils.strings must be added in the project (located in "
                          "QORCocoaFramework)"});
}

TEST_F(StringUtilsTest, LocaleOverrideRebuildsEveryFormatter)
{
    const QDateTime moment(QDate(2026, 12, 31), QTime(22, 5, 7));
    QOR_StringUtils::setLanguageLocaleString(QStringLiteral("fr"));
    EXPECT_EQ(QOR_StringUtils::getLanguageLocaleString(), "fr");
    EXPECT_EQ(QOR_StringUtils::getShortDate(moment), "31/12/2026");
    EXPECT_EQ(QOR_StringUtils::getShortTime(moment), "22:05");
    EXPECT_EQ(QOR_StringUtils::getShortTimeSecondsDate(moment), "31/12/2026 22:05:07");
    EXPECT_EQ(QOR_StringUtils::getMediumDate(moment), ts("31 déc. 2026"));
    EXPECT_EQ(QOR_StringUtils::getLongDate(moment), ts("jeudi 31 décembre 2026"));

    QOR_StringUtils::setLanguageLocaleString(QStringLiteral("en_US"));
    EXPECT_EQ(QOR_StringUtils::getShortDate(moment), "12/31/26");
    EXPECT_EQ(QOR_StringUtils::getShortTimeDate(moment), "12/31/26 10:05 PM");
    EXPECT_EQ(QOR_StringUtils::getShortTimeSeconds(moment), "10:05:07 PM");
    EXPECT_EQ(QOR_StringUtils::getMediumTimeDate(moment), "Dec 31, 2026 10:05 PM");
    EXPECT_EQ(QOR_StringUtils::getLongTimeDate(moment), "Thursday, December 31, 2026 10:05:07 PM");
    EXPECT_EQ(QOR_StringUtils::getShortDateFormatter().locale().name(), "en_US");

    // Saved for the other programs.
    EXPECT_EQ(SharedPreferences(SharedPreferences::defaultPath())
                  .stringValue(QOR_StringUtils::DateLocalePreference),
              "en_US");
    QOR_StringUtils::setLanguageLocaleString(QString());
    EXPECT_FALSE(SharedPreferences(SharedPreferences::defaultPath())
                     .contains(QOR_StringUtils::DateLocalePreference));
}

TEST_F(StringUtilsTest, WithoutOverrideTheTableLanguageMeetsTheUserFormats)
{
    const QDateTime moment(QDate(2026, 3, 4), QTime(9, 0));
    // The English table names "en"; an en_GB user keeps day-first dates.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QOR_StringUtils::resetLanguageLocale();
    EXPECT_EQ(QOR_StringUtils::getShortDate(moment), "04/03/2026");
    // A German user reading the English table gets English dates, not a mixed interface.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QOR_StringUtils::resetLanguageLocale();
    EXPECT_EQ(QOR_StringUtils::getLongDate(moment), "Wednesday, March 4, 2026");
    // The user-locale formatter ignores the override.
    QOR_StringUtils::setLanguageLocaleString(QStringLiteral("fr"));
    EXPECT_EQ(QOR_StringUtils::getShortTimeSecondsDateDefaultLocale(moment), "04.03.26 09:00:00");
}

TEST_F(StringUtilsTest, MissingDates)
{
    EXPECT_EQ(QOR_StringUtils::getShortTimeDate(QDateTime()), "?");
    EXPECT_EQ(QOR_StringUtils::getShortTimeSecondsDate(QDateTime()), "?");
    EXPECT_EQ(QOR_StringUtils::getShortDate(QDateTime()), "");
    EXPECT_EQ(QOR_StringUtils::getLongTime(QDateTime()), "");
}

TEST_F(StringUtilsTest, FormattingWhileTheOverrideChanges)
{
    const QDateTime moment(QDate(2026, 12, 31), QTime(8, 0));
    const std::set<QString> expected{QStringLiteral("31/12/2026"), QStringLiteral("12/31/26")};
    std::atomic<bool> stop = false;
    std::atomic<int> unexpected = 0;
    auto reader = [&] {
        while (!stop) {
            if (!expected.count(QOR_StringUtils::getShortDate(moment)))
                ++unexpected;
        }
    };
    QOR_StringUtils::setLanguageLocaleString(QStringLiteral("fr"));
    std::thread first(reader);
    std::thread second(reader);
    for (int i = 0; i < 20; ++i)
        QOR_StringUtils::setLanguageLocaleString(i % 2 ? QStringLiteral("fr")
                                                       : QStringLiteral("en_US"));
    stop = true;
    first.join();
    second.join();
    EXPECT_EQ(unexpected, 0);
}

TEST(StringUtils, ReplacementUsesTheMatchingRule)
{
    EXPECT_EQ(QOR_StringUtils::replaceInStringOldStringNewString(
                  QStringLiteral("Hello, hello"), QStringLiteral("HELLO"), QStringLiteral("bye")),
              "bye, bye");
}

TEST(LocaleDateFormatter, MediumStylesDerivedFromTheLongOnes)
{
    using F = LocaleDateFormatter;
    using S = F::Style;
    EXPECT_EQ(F::dateFormat(QLocale(QLocale::English, QLocale::UnitedStates), S::Medium),
              "MMM d, yyyy");
    EXPECT_EQ(F::dateFormat(QLocale(QLocale::French, QLocale::France), S::Medium), "d MMM yyyy");
    EXPECT_EQ(F::dateFormat(QLocale(QLocale::German, QLocale::Germany), S::Medium), "d. MMM yyyy");
    // A trailing weekday goes, the literal before it stays.
    EXPECT_EQ(F::dateFormat(QLocale(QLocale::Japanese, QLocale::Japan), S::Medium),
              ts("yyyy年M月d日"));
    EXPECT_EQ(F::timeFormat(QLocale(QLocale::English, QLocale::UnitedStates), S::Medium),
              "h:mm:ss AP");
    EXPECT_EQ(F::timeFormat(QLocale(QLocale::French, QLocale::France), S::Medium), "HH:mm:ss");
    EXPECT_EQ(F(QLocale(QLocale::French), S::None, S::None).toString(QDateTime::currentDateTime()),
              "");
}

TEST(DesktopEntryReader, PicksTheBestLanguage)
{
    const QByteArray entry = "# Name[fr]=commented out\n"
                             "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Text Editor\n"
                             "Name[fr]=Éditeur de texte\n"
                             "Name[fr_CA]=Éditeur\\stexte\n"
                             "Name[sr@latin] = Uređivač\n"
                             "Name[de]=\n"
                             "[Desktop Action new-window]\n"
                             "Name=New Window\n"
                             "Name[pt]=Nova janela\n";
    const auto nameInContents = &DesktopEntryReader::nameInContents;
    EXPECT_EQ(nameInContents(entry, {"fr_FR", "fr"}), ts("Éditeur de texte"));
    EXPECT_EQ(nameInContents(entry, {"fr_CA", "fr"}), ts("Éditeur texte"));
    EXPECT_EQ(nameInContents(entry, {"sr_RS@latin", "sr_RS", "sr@latin", "sr"}), ts("Uređivač"));
    // An empty translation and a name from another group are not names of the item.
    EXPECT_EQ(nameInContents(entry, {"de"}), "Text Editor");
    EXPECT_EQ(nameInContents(entry, {"pt"}), "Text Editor");
    EXPECT_EQ(nameInContents("[Desktop Entry]\nExec=true\n", {}), std::nullopt);
    EXPECT_EQ(nameInContents("Name=Loose\n", {}), std::nullopt);
}

TEST(DesktopEntryReader, LanguagesFromTheEnvironment)
{
    ScopedEnvironment all{{"LC_ALL", ""}};
    ScopedEnvironment messages{{"LC_MESSAGES", ""}};
    ScopedEnvironment language{{"LANGUAGE", "pt_BR:fr"}};
    {
        ScopedEnvironment lang{{"LANG", "de_DE.UTF-8@euro"}};
        EXPECT_EQ(DesktopEntryReader::userLanguageNames(),
                  (QList<QByteArray>{"pt_BR", "pt", "fr", "de_DE@euro", "de_DE", "de@euro", "de"}));
    }
    ScopedEnvironment lang{{"LANG", "C"}};
    EXPECT_TRUE(DesktopEntryReader::userLanguageNames().isEmpty());
}

TEST_F(StringUtilsTest, LocalizedNamesAndPaths)
{
    ScopedEnvironment all{{"LC_ALL", "fr_FR.UTF-8"}};
    ScopedEnvironment language{{"LANGUAGE", ""}};
    const QString apps = mHome.path() + QStringLiteral("/Apps");
    ASSERT_TRUE(QDir().mkpath(apps));
    QFile entry(apps + QStringLiteral("/org.example.Editor.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Editor\nName[fr]=Éditeur\nExec=true\n");
    entry.close();
    QFile plain(apps + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    EXPECT_EQ(QOR_StringUtils::localizedNameAtPath(entry.fileName()), ts("Éditeur"));
    EXPECT_EQ(QOR_StringUtils::localizedNameAtPath(plain.fileName()), "notes.txt");
    EXPECT_EQ(QOR_StringUtils::localizedNameAtPath(apps + QStringLiteral("/gone.desktop")),
              "gone.desktop");
    EXPECT_EQ(QOR_StringUtils::localizedNameAtPath(QStringLiteral("/")), "/");
    EXPECT_TRUE(QOR_StringUtils::localizedNameAtPath(QString()).isNull());

    EXPECT_EQ(QOR_StringUtils::localizedPath(entry.fileName()), apps + ts("/Éditeur"));
    EXPECT_EQ(QOR_StringUtils::localizedPath(apps + QStringLiteral("/../Apps/notes.txt")),
              apps + QStringLiteral("/notes.txt"));
    const QString missing = apps + QStringLiteral("/org.example.Editor.desktop/x");
    EXPECT_EQ(QOR_StringUtils::localizedPath(missing), missing);
    EXPECT_EQ(QOR_StringUtils::localizedPath(QStringLiteral("/")), "/");
    EXPECT_EQ(QOR_StringUtils::localizedPath(QStringLiteral("")), "");
    EXPECT_TRUE(QOR_StringUtils::localizedPath(QString()).isNull());
}

namespace {

// context -> key -> translation, as written in a Linguist source.
std::map<QString, std::map<QString, QString>> readLinguistSource(const QString &path)
{
    std::map<QString, std::map<QString, QString>> tables;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tables;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    // lrelease keeps one pair of a message and drops the others: a merge that ran two messages
    // together loses a text without a word.
    int pairsInMessage = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            EXPECT_EQ(pairsInMessage, 1)
                << path.toStdString() << ": message of " << source.toStdString();
        }
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("message"))
            pairsInMessage = 0;
        else if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            // A count's plural forms, one after the other.
            tables[context][source] = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            ++pairsInMessage;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return tables;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%L?(?:\\d+|n)"));
    QStringList found;
    for (const auto &match : marker.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

} // namespace

// A key added to one language only, or a translation that lost the number, shows up here
// rather than on a user's screen.
TEST(Translations, EveryLanguageHasEveryKeyWithTheSamePlaceholders)
{
    const QString folder = QStringLiteral(KORVALE_SOURCE_DIR "/translations/");
    const auto english = readLinguistSource(folder + QStringLiteral("korvale_en.ts"));
    ASSERT_TRUE(english.count(QOR_StringUtils::LibraryTable));
    ASSERT_TRUE(english.count(QOR_StringUtils::ProgramTable));
    for (const QString &language : QOR_StringUtils::availableLanguages()) {
        const auto other =
            readLinguistSource(folder + QStringLiteral("korvale_%1.ts").arg(language));
        for (const auto &[context, keys] : english) {
            ASSERT_TRUE(other.count(context)) << language.toStdString();
            EXPECT_EQ(other.at(context).size(), keys.size())
                << language.toStdString() << " " << context.toStdString();
            for (const auto &[key, text] : keys) {
                const auto found = other.at(context).find(key);
                ASSERT_NE(found, other.at(context).end())
                    << language.toStdString() << " lacks " << key.toStdString();
                EXPECT_FALSE(found->second.isEmpty()) << key.toStdString();
                EXPECT_EQ(placeholders(found->second), placeholders(text))
                    << language.toStdString() << " " << key.toStdString();
            }
        }
    }
    for (const char *unit : {"Byte", "Bytes", "KB", "MB", "GB", "TB"}) {
        const QString key = QStringLiteral("StringUtils_%d ") + QLatin1String(unit);
        EXPECT_EQ(placeholders(english.at(QOR_StringUtils::LibraryTable).at(key)),
                  QStringList{"%L1"});
    }
}

// The display name, the icon and the application check read the entry the same way the scanner
// does: the main group only, in the user's language.
TEST(DesktopEntryReader, NamesIconsAndTheApplicationCheckShareOneReading)
{
    ScopedEnvironment all{{"LC_ALL", "fr_FR.UTF-8"}};
    ScopedEnvironment language{{"LANGUAGE", ""}};
    QTemporaryDir folder;
    const auto write = [&folder](const QString &name, const QByteArray &contents) {
        QFile file(folder.path() + u'/' + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return file.fileName();
    };
    const QString link = write("site.desktop",
                               "[Desktop Entry]\nType=Link\nName=Site\n"
                               "Name[fr]=Le site\nIcon = web-browser\n"
                               "[Desktop Action other]\nIcon=other\nType=Application\n");
    EXPECT_EQ(DesktopEntryReader::nameAtPath(link), "Le site");
    EXPECT_EQ(DesktopEntryReader::iconAtPath(link), "web-browser");
    EXPECT_FALSE(DesktopEntryReader::isApplicationAtPath(link));

    const QString tool = write("tool.desktop", "[Desktop Entry]\nType=Application\nExec=tool\n");
    EXPECT_TRUE(DesktopEntryReader::isApplicationAtPath(tool));
    EXPECT_EQ(DesktopEntryReader::iconAtPath(tool), QString());
    EXPECT_EQ(DesktopEntryReader::nameAtPath(tool), std::nullopt) << "no Name: the file's name";

    const QString text = write("notes.txt", "[Desktop Entry]\nType=Application\nName=Notes\n");
    EXPECT_EQ(DesktopEntryReader::nameAtPath(text), std::nullopt);
    EXPECT_FALSE(DesktopEntryReader::isApplicationAtPath(folder.path() + "/missing.desktop"));
}

namespace {

// Every key the sources name, with its table: the literal arguments of the lookups, the keys
// marked for a later lookup, and Qt's own tr() and translate() calls.
std::map<QString, std::set<QString>> keysUsedByTheSources(QStringList *scanned)
{
    const QString program = QOR_StringUtils::ProgramTable;
    const QRegularExpression lookup(QStringLiteral(
        R"re(\b(?:getLocalizedStringForKey|getLocalizedStringForCount|getLocalizedFieldLabel|)re"
        R"re(localized|)re"
        R"re(showMessageWithText)\(\s*)re"
        R"re((?:QStringLiteral\()?"([^"]+)")re"));
    const QRegularExpression marked(QStringLiteral(R"re(\bKORVALE_KEY\(\s*"([^"]+)"\s*\))re"));
    const QRegularExpression inTable(QStringLiteral(
        R"re(\b(?:QT_TRANSLATE_NOOP|translate)\(\s*"([^"]+)"\s*,\s*"([^"]+)"\s*\))re"));
    const QRegularExpression tr(QStringLiteral(R"re(\btr\(\s*"([^"]+)")re"));

    std::map<QString, std::set<QString>> keys;
    const QDir source(QStringLiteral(KORVALE_SOURCE_DIR));
    for (const QString &folder : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // The sources of the programs; tests name keys that do not exist on purpose.
        if (folder == QLatin1String("tests") || folder.startsWith(QLatin1String("build")))
            continue;
        QDirIterator files(source.filePath(folder),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            scanned->append(source.relativeFilePath(path));
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpression *expression : {&lookup, &marked}) {
                for (const QRegularExpressionMatch &match : expression->globalMatch(text))
                    keys[program].insert(match.captured(1));
            }
            for (const QRegularExpressionMatch &match : inTable.globalMatch(text))
                keys[match.captured(1)].insert(match.captured(2));
            // tr() reads the table named after the class, which is the file's name here.
            for (const QRegularExpressionMatch &match : tr.globalMatch(text))
                keys[QFileInfo(path).completeBaseName()].insert(match.captured(1));
        }
    }
    return keys;
}

} // namespace

// A key the code looks up but no table holds shows up as the bare key on the user's screen.
TEST(Translations, EveryKeyTheCodeUsesHasATextInEveryLanguage)
{
    QStringList scanned;
    const auto used = keysUsedByTheSources(&scanned);
    ASSERT_TRUE(scanned.contains(QStringLiteral("common/QOR_StringUtils.cpp")));
    ASSERT_TRUE(used.count(QOR_StringUtils::ProgramTable));
    ASSERT_TRUE(used.count(QOR_StringUtils::LibraryTable));

    const QStringList languages = QOR_StringUtils::availableLanguages();
    ASSERT_TRUE(languages.contains(QStringLiteral("en"))
                && languages.contains(QStringLiteral("fr")));
    for (const QString &language : languages) {
        const auto tables = readLinguistSource(
            QStringLiteral(KORVALE_SOURCE_DIR "/translations/korvale_%1.ts").arg(language));
        for (const auto &[table, keys] : used) {
            const auto found = tables.find(table);
            for (const QString &key : keys) {
                EXPECT_TRUE(found != tables.end() && found->second.count(key)
                            && !found->second.at(key).isEmpty())
                    << "korvale_" << language.toStdString() << ".ts lacks " << table.toStdString()
                    << " / " << key.toStdString();
            }
        }
    }
}

// One menu in sentence case beside title case ("Enclosing Folders" next to "Show in file
// manager") looks unfinished: every menu entry is written in sentence case, as on the desktop.
TEST(Translations, MenuEntriesAreWrittenInSentenceCase)
{
    const auto english = readLinguistSource(QStringLiteral(KORVALE_SOURCE_DIR "/translations/")
                                            + QStringLiteral("korvale_en.ts"));
    int entries = 0;
    for (const auto &[context, keys] : english) {
        for (const auto &[key, text] : keys) {
            if (!key.startsWith(QLatin1String("PopupMenu"))
                && key != QLatin1String("IncludeContents")
                && key != QLatin1String("NoIncludeContents"))
                continue;
            ++entries;
            const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (qsizetype i = 1; i < words.size(); ++i)
                EXPECT_FALSE(words.at(i).front().isUpper())
                    << key.toStdString() << ": " << text.toStdString();
        }
    }
    EXPECT_GT(entries, 30);
}
