#include "ContactFormatting.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct FormatRun {
    QString text;
    QColor colour;
    QString link;
};

QList<FormatRun> runsOf(const QTextDocument &document)
{
    QList<FormatRun> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            runs.append({fragment.text(), format.foreground().color(),
                         format.isAnchor() ? format.anchorHref() : QString()});
        }
    }
    return runs;
}

TEST(SelectionContactFormatting, LabelsGreyValuesDarkBlueAddressesLinked)
{
    const QString card = "Ann Lee\nmobile\t+33 6 12\nwork\tann@example.org\nann.home@example.net";
    QTextDocument document;
    ContactFormatting::fillDocument(document, card);

    const QList<FormatRun> runs = runsOf(document);
    ASSERT_EQ(runs.size(), 6);
    EXPECT_EQ(runs[0].text, "Ann Lee");
    EXPECT_EQ(runs[0].colour, QColor(Qt::black));
    EXPECT_EQ(runs[1].text, "mobile ");
    EXPECT_EQ(runs[1].colour, ContactFormatting::LabelColor);
    EXPECT_EQ(runs[2].text, "+33 6 12");
    EXPECT_EQ(runs[2].colour, QColor(0, 0, 153));
    EXPECT_TRUE(runs[2].link.isEmpty());
    EXPECT_EQ(runs[3].text, "work ");
    EXPECT_EQ(runs[4].text, "ann@example.org");
    EXPECT_EQ(runs[4].colour, QColor(0, 0, 153));
    EXPECT_EQ(runs[4].link, "mailto:ann@example.org");
    EXPECT_EQ(runs[5].text, "ann.home@example.net");
    EXPECT_EQ(runs[5].link, "mailto:ann.home@example.net") << "a line without a label links too";

    EXPECT_EQ(document.toPlainText().size(), card.size())
        << "ranges found in the card text hold in the document";
    EXPECT_NE(ContactFormatting::LabelColor, QColor(Qt::black));
}

TEST(SelectionContactFormatting, AddressesMakeWellFormedLinks)
{
    EXPECT_EQ(ContactFormatting::mailtoTarget("no address"), "");
    EXPECT_EQ(ContactFormatting::mailtoTarget(" a+b@x.org "), "mailto:a+b@x.org");
    EXPECT_EQ(ContactFormatting::mailtoTarget("a b?c@x.org"), "mailto:a%20b%3Fc@x.org");
}

TEST(SelectionContactFormatting, OtherTextIsPlainBlack)
{
    QTextDocument document;
    ContactFormatting::fillPlainDocument(document, "note\twith tab\nmail@example.org");
    for (const FormatRun &run : runsOf(document)) {
        EXPECT_EQ(run.colour, QColor(Qt::black));
        EXPECT_TRUE(run.link.isEmpty());
    }
    EXPECT_EQ(document.toPlainText(), "note\twith tab\nmail@example.org");
}

} // namespace
