#include "NotesText.h"

#include "BoundedFile.h"

#include <QStringConverter>
#include <QStringDecoder>

namespace {

QString flattened(QString text)
{
    text.replace(QLatin1Char('\n'), QStringLiteral(". "));
    text.replace(QLatin1Char('\r'), QStringLiteral(". "));
    text.replace(QStringLiteral(". . "), QStringLiteral(". "));
    return text;
}

QString decoded(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError() && !text.isEmpty())
        return text;
    // Mac OS Roman would accept any bytes first and turn a Latin-1 file's accents into other
    // letters; Latin-1, which also accepts any bytes, is what such a file on Linux is.
    return QString::fromLatin1(bytes);
}

} // namespace

QString NotesText::exportLine(const QVariantMap &note)
{
    return note.value(QStringLiteral("T")).toString() + QLatin1Char('\t')
        + flattened(note.value(QStringLiteral("t")).toString()) + QLatin1Char('\t')
        + note.value(QStringLiteral("K")).toString() + QLatin1Char('\n');
}

QByteArray NotesText::exportNotes(const QVariantList &notes)
{
    QString text;
    for (const QVariant &note : notes)
        text += exportLine(note.toMap());
    return text.toUtf8();
}

QVariantList NotesText::importNotes(const QByteArray &bytes, bool protectedNotes)
{
    const QString text = decoded(bytes);
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() < 2)
        lines = text.split(QLatin1Char('\r'));
    QVariantList notes;
    for (const QString &line : std::as_const(lines)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        const QString title = fields.first();
        const QString body = fields.mid(1).join(QLatin1Char('\n'));
        // A line of tabs alone joins to bare line breaks: nothing was written on it.
        if (title.isEmpty() && fields.mid(1).join(QString()).isEmpty())
            continue;
        notes.append(QVariantMap{{QStringLiteral("x"), protectedNotes ? 6 : 5},
                                 {QStringLiteral("T"), title},
                                 {QStringLiteral("t"), body}});
    }
    return notes;
}

QVariantMap NotesText::replaced(const QVariantMap &note, const QString &find,
                                const QString &replacement)
{
    QVariantMap result = note;
    if (find.isEmpty())
        return result;
    for (const QString &key : {QStringLiteral("T"), QStringLiteral("K"), QStringLiteral("t")}) {
        const QString value = note.value(key).toString();
        if (!value.isEmpty())
            result.insert(key, QString(value).replace(find, replacement, Qt::CaseSensitive));
    }
    return result;
}

NotesText::ImportedFile NotesText::importNotesFromFile(const QString &path, bool protectedNotes)
{
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::ImportedNotes);
    if (!read.isRead())
        return {{}, read.reason};
    return {importNotes(read.bytes, protectedNotes), {}};
}

QString NotesText::toolTip(const QVariantMap &note)
{
    QString tip = note.value(QStringLiteral("T")).toString();
    const QString keywords = note.value(QStringLiteral("K")).toString();
    if (!keywords.isEmpty())
        tip += QLatin1Char('\n') + keywords;
    QString text = note.value(QStringLiteral("t")).toString();
    if (text.size() > ToolTipTextLimit) {
        // Never half of a character outside the Basic Multilingual Plane.
        const int cut = text.at(ToolTipTextLimit - 1).isHighSurrogate() ? ToolTipTextLimit - 1
                                                                        : ToolTipTextLimit;
        text = text.left(cut) + QChar(0x2026);
    }
    if (!text.isEmpty())
        tip += QLatin1Char('\n') + text;
    return tip;
}
