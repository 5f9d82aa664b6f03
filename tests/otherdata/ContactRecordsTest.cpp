#include "ContactRecords.h"
#include "VCardParser.h"
#include "VCardTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ContactRules = EnglishLabels;

QVariantMap recordOf(const char *lines)
{
    const QList<VCard> cards = VCardParser::parse(
        crlf((QByteArray("BEGIN:VCARD\nVERSION:3.0\n") + lines + "END:VCARD\n").constData()));
    return cards.size() == 1 ? ContactRecords::contactRecord(cards.at(0)) : QVariantMap();
}

} // namespace

TEST_F(ContactRules, PhoneOnlyContactIsListedWithAnEmptyTitle)
{
    const QVariantMap record = recordOf("TEL;TYPE=CELL:+33 6 00 00 00 00\n");
    EXPECT_EQ(record.value("T").toString(), "");
    EXPECT_EQ(record.value("t").toString(), "mobile\t+33 6 00 00 00 00");
    EXPECT_EQ(record.value("Phone").toString(), "mobile\t+33 6 00 00 00 00");
    // Without any text there is nothing to list.
    EXPECT_TRUE(recordOf("UID:nothing-else\nPHOTO;VALUE=uri:file:///tmp/x.png\n").isEmpty());
}

TEST_F(ContactRules, NicknameAloneIsTheTitleInQuotesAndOrganisationFollows)
{
    EXPECT_EQ(recordOf("NICKNAME:Bibi\n").value("T").toString(), "\"Bibi\"");
    EXPECT_EQ(recordOf("NICKNAME:Bibi\n").value("t").toString(), "\"Bibi\"");
    const QVariantMap company = recordOf("ORG:Acme;Research\nEMAIL:info@acme.example\n");
    EXPECT_EQ(company.value("T").toString(), "Acme");
    EXPECT_EQ(company.value("t").toString(), "Acme\ninfo@acme.example");
    // A last name alone is the name.
    EXPECT_EQ(recordOf("N:Curie;;;;\n").value("T").toString(), "Curie");
}

// No country line for France, however the card names it; a code elsewhere, lower case; a
// country's name as written.
TEST_F(ContactRules, FrenchAddressHasNoCountryLine)
{
    EXPECT_EQ(recordOf("ADR:;;1 place du Capitole;Toulouse;;31000;FRANCE\n").value("t").toString(),
              "1 place du Capitole\n31000 Toulouse");
    EXPECT_EQ(recordOf("ADR:;;1 place du Capitole;Toulouse;;31000;fr\n").value("t").toString(),
              "1 place du Capitole\n31000 Toulouse");
    EXPECT_EQ(recordOf("ADR;TYPE=WORK:;;Grand-Place 1;Bruxelles;;1000;BE\n").value("t").toString(),
              "work\tGrand-Place 1\n1000 Bruxelles\nbe");
    EXPECT_EQ(recordOf("ADR:;;Marienplatz 8;München;;80331;Deutschland\n").value("t").toString(),
              QStringLiteral("Marienplatz 8\n80331 München\nDeutschland"));
    // A city without a postal code, a box number, no street.
    EXPECT_EQ(recordOf("ADR:BP 12;;;Lyon;;;\n").value("t").toString(), "BP 12\nLyon");
}

// Labels are looked up with the raw label as key, so they read in the user's language.
TEST(ContactLabels, LabelsFollowTheLanguageAndCustomOnesStayAsWritten)
{
    ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage("fr"));
    const QVariantMap record = recordOf("TEL;TYPE=HOME:1\nTEL;TYPE=CELL:2\nTEL;TYPE=HOME,FAX:3\n"
                                        "item1.TEL:4\nitem1.X-ABLabel:Chalet\n"
                                        "item2.TEL:5\nitem2.X-ABLabel:_$!<Mobile>!$_\n");
    QOR_StringUtils::setLocalizationLanguage(QString());
    EXPECT_EQ(record.value("Phone").toString(),
              "domicile\t1\nportable\t2\nfax domicile\t3\nChalet\t4\nportable\t5");
}
