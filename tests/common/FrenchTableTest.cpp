#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace {

struct Entry {
    QString text;
    QString type; // Linguist's mark: "unfinished", "obsolete", "vanished", or none
};

// (context, key) -> the translation and its mark, as written in a Linguist source.
std::map<std::pair<QString, QString>, Entry> readTable(const QString &path)
{
    std::map<std::pair<QString, QString>, Entry> table;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            table[{context, source}] = {
                xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified(), type};
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return table;
}

} // namespace

// A French session must read French everywhere: a text left as Linguist's unfinished draft, or
// copied from English unchanged, shows English to the user.
TEST(Translations, TheFrenchTableHasNoUnfinishedNorEnglishEntry)
{
    const QString folder = QStringLiteral(KORVALE_SOURCE_DIR "/translations/");
    const auto english = readTable(folder + QStringLiteral("korvale_en.ts"));
    const auto french = readTable(folder + QStringLiteral("korvale_fr.ts"));
    ASSERT_GT(french.size(), 400u);
    // Words that French writes as English does: key names, the product, borrowed words.
    const QSet<QString> sameInFrench{
        "OK",           "Alt",     "Ctrl",     "Super",     "Tab",   "Fn",    "Application",
        "Applications", "Action",  "Contacts", "Documents", "Note",  "Notes", "Volumes",
        "Version %1",   "Licence", "fax",      "iPhone",    "Socket"};
    static const QRegularExpression functionKey(QStringLiteral("^F\\d+$"));
    for (const auto &[key, entry] : french) {
        const std::string name = (key.first + u'/' + key.second).toStdString();
        EXPECT_TRUE(entry.type.isEmpty()) << name << " is marked " << entry.type.toStdString();
        EXPECT_FALSE(entry.text.isEmpty()) << name;
        const auto other = english.find(key);
        if (other == english.end() || other->second.text != entry.text)
            continue;
        EXPECT_TRUE(sameInFrench.contains(entry.text) || functionKey.match(entry.text).hasMatch())
            << name << " is still English: " << entry.text.toStdString();
    }
}
