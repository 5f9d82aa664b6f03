#include "VCardParser.h"
#include "ContactRecords.h"
#include "VCardTestSupport.h"

#include <gtest/gtest.h>

namespace {

using VCardContacts = EnglishLabels;

QString field(const QVariantMap &record, const char *key)
{
    return record.value(QString::fromLatin1(key)).toString();
}

// 3.0 folds long lines with CRLF and one space.
QByteArray folded(const QByteArray &line)
{
    QByteArray out = line.left(75);
    for (qsizetype at = 75; at < line.size(); at += 74)
        out += "\r\n " + line.mid(at, 74);
    return out;
}

} // namespace

// As phones exported them: quoted-printable text in the character set it names, soft line breaks,
// bare types, and a CR LF inside the address.
TEST_F(VCardContacts, Version21QuotedPrintableInItsCharacterSet)
{
    const QByteArray file =
        crlf("BEGIN:VCARD\n"
             "VERSION:2.1\n"
             "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Dupr=E9;H=E9l=E8ne;;;\n"
             "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:H=E9l=E8ne Dupr=E9\n"
             "TEL;CELL:+33 6 12 34 56 78\n"
             "TEL;HOME;VOICE:+33 1 23 45 67 89\n"
             "ADR;HOME;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:;;12 rue de l'=C9glise=0D=0A=\n"
             "B=E2timent B;Paris;;75001;France\n"
             "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Rencontr=C3=A9e =C3=A0 Lyon,=\n"
             " tr=C3=A8s sympathique\n"
             "END:VCARD\n");
    const QList<VCard> cards = VCardParser::parse(file);
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards.at(0).version, "2.1");
    const QVariantMap record = ContactRecords::contactRecord(cards.at(0));
    EXPECT_EQ(field(record, "T"), QStringLiteral("Hélène Dupré"));
    EXPECT_EQ(field(record, "t"),
              QStringLiteral("Hélène Dupré\n"
                             "home\t12 rue de l'Église\nBâtiment B\n75001 Paris\n"
                             "mobile\t+33 6 12 34 56 78\n"
                             "home\t+33 1 23 45 67 89\n"
                             "Rencontrée à Lyon, très sympathique"));
    EXPECT_EQ(field(record, "Phone"), "mobile\t+33 6 12 34 56 78\nhome\t+33 1 23 45 67 89");
    EXPECT_EQ(field(record, "Email"), "");
    EXPECT_EQ(field(record, "UID"), "");
    EXPECT_EQ(record.value("x").toInt(), 4);
}

// As Apple's and Evolution's address books write 3.0: grouped labels (custom and Apple's own),
// several types, escapes, structured values and a folded base64 photo.
TEST_F(VCardContacts, Version30GroupedLabelsEscapesAndPhoto)
{
    const QByteArray photo = pngPicture(qRgb(200, 30, 30));
    QByteArray file =
        crlf("BEGIN:VCARD\n"
             "VERSION:3.0\n"
             "PRODID:-//Apple Inc.//macOS 13.4//EN\n"
             "N:Martin;Paul;;;\n"
             "FN:Paul Martin\n"
             "NICKNAME:Polo\n"
             "ORG:Acme\\, Inc.;Sales\n"
             "item1.TEL;type=pref:+1 555 0100\n"
             "item1.X-ABLabel:Custom\n"
             "TEL;type=CELL;type=VOICE;type=pref:+1 555 0101\n"
             "TEL;TYPE=WORK,FAX:+1 555 0102\n"
             "item2.EMAIL;type=INTERNET;type=pref:paul@example.com\n"
             "item2.X-ABLabel:_$!<Other>!$_\n"
             "EMAIL;X-EVOLUTION-UI-SLOT=1;TYPE=INTERNET,WORK:paul.martin@acme.example\n"
             "item3.ADR;type=WORK;type=pref:;;1 Infinite Loop\\nSuite 2;Cupertino;CA;95014;United "
             "States\n"
             "item3.X-ABADR:us\n"
             "ADR;TYPE=\"home\":;;Unter den Linden 1;Berlin;;10117;DE\n"
             "NOTE:Line one\\nLine two\\; with a semicolon\\, and a backslash \\\\\n"
             "UID:6C5F2A9E-0F4B-4E83-9A4B-2B1B1A7F00AA\n");
    file += folded("PHOTO;ENCODING=b;TYPE=PNG:" + photo.toBase64()) + "\r\n";
    file += crlf("END:VCARD\n");

    const QList<VCard> cards = VCardParser::parse(file);
    ASSERT_EQ(cards.size(), 1);
    const QVariantMap record = ContactRecords::contactRecord(cards.at(0));
    EXPECT_EQ(field(record, "T"), "Paul Martin \"Polo\" Acme, Inc.");
    EXPECT_EQ(field(record, "t"),
              "Paul Martin\n\"Polo\"\nAcme, Inc.\n"
              "work\t1 Infinite Loop\nSuite 2\n95014 Cupertino\nUnited States\n"
              "home\tUnter den Linden 1\n10117 Berlin\nde\n"
              "Custom\t+1 555 0100\nmobile\t+1 555 0101\nwork fax\t+1 555 0102\n"
              "other\tpaul@example.com\nwork\tpaul.martin@acme.example\n"
              "Line one\nLine two; with a semicolon, and a backslash \\");
    EXPECT_EQ(field(record, "Email"), "other\tpaul@example.com\nwork\tpaul.martin@acme.example");
    EXPECT_EQ(field(record, "UID"), "6C5F2A9E-0F4B-4E83-9A4B-2B1B1A7F00AA");
    EXPECT_EQ(ContactRecords::picture(cards.at(0)).bytes, photo);
}

// 4.0: lower-case and quoted type lists, tel: addresses, a data: photo, and no N (the
// formatted name stands in for it).
TEST_F(VCardContacts, Version40TypesUrisAndDataPhoto)
{
    const QByteArray photo = pngPicture(qRgb(20, 90, 200));
    const QByteArray file = crlf("BEGIN:VCARD\n"
                                 "VERSION:4.0\n"
                                 "FN:Zoë Ng\n"
                                 "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\n"
                                 "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+44-20-7946-0000\n"
                                 "EMAIL;TYPE=home:zoe@example.org\n"
                                 "ADR;TYPE=home;LABEL=\"10 Downing St\\nLondon\":;;10 Downing "
                                 "Street;London;;SW1A 2AA;gb\n"
                                 "PHOTO:data:image/png;base64,")
        + photo.toBase64() + crlf("\nEND:VCARD\n");
    const QList<VCard> cards = VCardParser::parse(file);
    ASSERT_EQ(cards.size(), 1);
    const QVariantMap record = ContactRecords::contactRecord(cards.at(0));
    EXPECT_EQ(field(record, "T"), QStringLiteral("Zoë Ng"));
    EXPECT_EQ(field(record, "t"),
              QStringLiteral("Zoë Ng\nhome\t10 Downing Street\nSW1A 2AA London\ngb\n"
                             "mobile\t+44-20-7946-0000\nhome\tzoe@example.org"));
    EXPECT_EQ(ContactRecords::picture(cards.at(0)).bytes, photo);
}

// A card nested in another (2.1's AGENT) is not a contact of its own and lends it nothing; a
// stray END is passed over; a card cut short still counts; bare LF line ends are read too.
TEST_F(VCardContacts, NestingMistakesAreReadGracefully)
{
    const QByteArray file = "END:VCARD\n"
                            "BEGIN:VCARD\n"
                            "VERSION:2.1\n"
                            "N:Boss;Big\n"
                            "AGENT:\n"
                            "BEGIN:VCARD\n"
                            "VERSION:2.1\n"
                            "N:Assistant;Ann\n"
                            "TEL:+1 555 9999\n"
                            "END:VCARD\n"
                            "TEL;WORK:+1 555 1234\n"
                            "END:VCARD\n"
                            "END:VCARD\n"
                            "junk outside any card\n"
                            "BEGIN:VCARD\n"
                            "VERSION:3.0\n"
                            "FN:No End\n"
                            "TEL:+1 555 0000";
    const QList<VCard> cards = VCardParser::parse(file);
    ASSERT_EQ(cards.size(), 2);
    EXPECT_EQ(field(ContactRecords::contactRecord(cards.at(0)), "t"),
              "Big Boss\nwork\t+1 555 1234");
    EXPECT_EQ(field(ContactRecords::contactRecord(cards.at(1)), "t"), "No End\n+1 555 0000");
}
