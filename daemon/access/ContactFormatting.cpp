#include "ContactFormatting.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

QTextCharFormat colouredFormat(const QColor &colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

QTextCharFormat valueFormat(const QString &value, const QColor &colour)
{
    QTextCharFormat format = colouredFormat(colour);
    const QString target = ContactFormatting::mailtoTarget(value);
    if (!target.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(target);
        format.setFontUnderline(true);
    }
    return format;
}

} // namespace

QString ContactFormatting::mailtoTarget(const QString &value)
{
    if (!value.contains(QLatin1Char('@')))
        return {};
    // Encoded, so that an address with spaces or "?" still makes one well-formed link.
    return QStringLiteral("mailto:")
        + QString::fromLatin1(QUrl::toPercentEncoding(value.trimmed(), "@+._-"));
}

void ContactFormatting::fillDocument(QTextDocument &document, const QString &text)
{
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        const QString &line = lines.at(i);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            cursor.insertText(
                line, valueFormat(line, mailtoTarget(line).isEmpty() ? TextColor : ValueColor));
            continue;
        }
        cursor.insertText(line.left(tab) + QLatin1Char(' '), colouredFormat(LabelColor));
        // Later tabs belong to the value; shown as spaces so the line keeps its length.
        QString value = line.mid(tab + 1);
        value.replace(QLatin1Char('\t'), QLatin1Char(' '));
        cursor.insertText(value, valueFormat(value, ValueColor));
    }
    cursor.endEditBlock();
}

void ContactFormatting::fillPlainDocument(QTextDocument &document, const QString &text)
{
    document.clear();
    QTextCursor cursor(&document);
    cursor.insertText(text, colouredFormat(TextColor));
}
