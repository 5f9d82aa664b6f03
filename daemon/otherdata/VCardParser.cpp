#include "VCardParser.h"

#include <QStringDecoder>

namespace {

// Physical lines, whatever the line ends (CRLF, LF or a lone CR).
// Views into the bytes: most lines are never folded, so they need no copy.
QList<QByteArrayView> physicalLines(const QByteArray &bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        if (c != '\n' && c != '\r')
            continue;
        lines.append(QByteArrayView(bytes).sliced(start, i - start));
        if (c == '\r' && i + 1 < size && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(QByteArrayView(bytes).sliced(start));
    return lines;
}

bool isFoldContinuation(QByteArrayView line)
{
    return !line.isEmpty() && (line.at(0) == ' ' || line.at(0) == '\t');
}

// Where the value starts: the first colon outside double quotes; -1 without one.
qsizetype valueSeparator(const QByteArray &line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted)
            return i;
    }
    return -1;
}

// Splits on the separator outside double quotes.
QList<QByteArray> splitUnquoted(const QByteArray &text, char separator)
{
    QList<QByteArray> parts;
    QByteArray current;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == separator && !quoted) {
            parts.append(current);
            current.clear();
            continue;
        }
        current.append(c);
    }
    parts.append(current);
    return parts;
}

bool isEncodingName(const QByteArray &upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT"
        || upper == "7BIT";
}

struct Header {
    QString group;
    QString name;
    QList<std::pair<QString, QStringList>> parameters;
    QByteArray charset;
    bool quotedPrintable = false;
};

Header parseHeader(const QByteArray &head)
{
    Header header;
    const QList<QByteArray> parts = splitUnquoted(head, ';');
    QByteArray name = parts.value(0).trimmed();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        header.group = QString::fromUtf8(name.left(dot));
        name = name.mid(dot + 1);
    }
    header.name = QString::fromUtf8(name).toUpper();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray parameter = parts.at(i).trimmed();
        if (parameter.isEmpty())
            continue;
        const qsizetype equals = parameter.indexOf('=');
        QByteArray key;
        QByteArray values;
        if (equals < 0) {
            values = parameter;
            key = isEncodingName(parameter.toUpper()) ? "ENCODING" : "TYPE";
        } else {
            key = parameter.left(equals).trimmed().toUpper();
            values = parameter.mid(equals + 1).trimmed();
        }
        QStringList list;
        for (const QByteArray &value : splitUnquoted(values, ','))
            list.append(QString::fromUtf8(value.trimmed()));
        if (key == "ENCODING" && values.toUpper() == "QUOTED-PRINTABLE")
            header.quotedPrintable = true;
        if (key == "CHARSET")
            header.charset = values;
        header.parameters.append({QString::fromLatin1(key), list});
    }
    return header;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '=' && i + 2 < text.size()) {
            const int high = hexDigit(text.at(i + 1));
            const int low = hexDigit(text.at(i + 2));
            if (high >= 0 && low >= 0) {
                out.append(char(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString decodeText(const QByteArray &bytes, const QByteArray &charset)
{
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool isLine(QByteArrayView line, const char *word)
{
    return line.trimmed().compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList VCardProperty::parameterValues(const QString &parameterName) const
{
    QStringList values;
    for (const auto &[key, list] : parameters) {
        if (key == parameterName)
            values += list;
    }
    return values;
}

QStringList VCardProperty::types() const
{
    QStringList upper;
    for (const QString &type : parameterValues(QStringLiteral("TYPE"))) {
        if (!type.isEmpty())
            upper.append(type.toUpper());
    }
    return upper;
}

bool VCardProperty::hasType(const QString &type) const
{
    return types().contains(type);
}

QString VCardProperty::value() const
{
    return VCardParser::unescape(rawValue);
}

QStringList VCardProperty::components() const
{
    QStringList parts = VCardParser::splitStructured(rawValue);
    for (QString &part : parts)
        part = VCardParser::unescape(part);
    return parts;
}

QByteArray VCardProperty::binaryValue() const
{
    const QStringList encodings = parameterValues(QStringLiteral("ENCODING"));
    for (const QString &encoding : encodings) {
        const QString upper = encoding.toUpper();
        if (upper == QLatin1String("B") || upper == QLatin1String("BASE64"))
            return QByteArray::fromBase64(rawValue.toLatin1());
    }
    const QString trimmed = rawValue.trimmed();
    if (!trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return {};
    const qsizetype comma = trimmed.indexOf(QLatin1Char(','));
    if (comma < 0)
        return {};
    const QString header = trimmed.mid(5, comma - 5);
    const QByteArray data = trimmed.mid(comma + 1).toLatin1();
    if (header.endsWith(QLatin1String(";base64"), Qt::CaseInsensitive))
        return QByteArray::fromBase64(data);
    return QByteArray::fromPercentEncoding(data);
}

const VCardProperty *VCard::first(const QString &name) const
{
    for (const VCardProperty &property : properties) {
        if (property.name == name)
            return &property;
    }
    return nullptr;
}

QList<const VCardProperty *> VCard::all(const QString &name) const
{
    QList<const VCardProperty *> found;
    for (const VCardProperty &property : properties) {
        if (property.name == name)
            found.append(&property);
    }
    return found;
}

QString VCard::groupLabel(const QString &group) const
{
    if (group.isEmpty())
        return {};
    for (const VCardProperty &property : properties) {
        if (property.name == QLatin1String("X-ABLABEL")
            && property.group.compare(group, Qt::CaseInsensitive) == 0)
            return property.value();
    }
    return {};
}

QList<VCard> VCardParser::parse(const QByteArray &bytes)
{
    const QList<QByteArrayView> lines = physicalLines(bytes);
    QList<VCard> cards;
    VCard card;
    // 0: outside a card; 1: in a card; more: inside something nested in it.
    int depth = 0;
    const qsizetype count = lines.size();
    qsizetype i = 0;
    while (i < count) {
        // Raw data over the file's bytes: copied only when a fold or a soft break changes it.
        QByteArray line = QByteArray::fromRawData(lines.at(i).data(), lines.at(i).size());
        ++i;
        // vCard 2.1 folds at existing white space, which stays; 3.0 and 4.0 insert one.
        const bool keepFoldSpace = depth > 0 && card.version == QLatin1String("2.1");
        const auto unfoldNext = [&] {
            line += keepFoldSpace ? lines.at(i) : lines.at(i).sliced(1);
            ++i;
        };
        qsizetype colon = valueSeparator(line);
        if (colon < 0) {
            while (i < count && isFoldContinuation(lines.at(i)))
                unfoldNext();
            colon = valueSeparator(line);
        }
        if (colon < 0)
            continue;
        const QByteArray head = line.left(colon);
        const QByteArray headUpper = head.trimmed().toUpper();
        if (headUpper == "BEGIN" || headUpper == "END") {
            const QByteArray valueUpper = line.mid(colon + 1).trimmed().toUpper();
            if (headUpper == "BEGIN") {
                if (depth == 0 && valueUpper == "VCARD")
                    card = VCard();
                if (depth > 0 || valueUpper == "VCARD")
                    ++depth;
            } else {
                if (depth == 1 && valueUpper == "VCARD")
                    cards.append(card);
                if (depth > 0)
                    --depth;
            }
            continue;
        }
        Header header = parseHeader(head);
        // Quoted-printable soft line breaks: a line ending in "=" goes on with the next one,
        // white space and all.
        while (i < count) {
            if (header.quotedPrintable && line.endsWith('=') && !isLine(lines.at(i), "END:VCARD")) {
                line.chop(1);
                line += lines.at(i++);
            } else if (isFoldContinuation(lines.at(i))) {
                unfoldNext();
            } else {
                break;
            }
        }
        if (depth != 1)
            continue;
        QByteArray value = line.mid(colon + 1);
        if (header.quotedPrintable)
            value = decodeQuotedPrintable(value);
        VCardProperty property;
        property.group = header.group;
        property.name = header.name;
        property.parameters = std::move(header.parameters);
        property.rawValue = decodeText(value, header.charset);
        if (property.name == QLatin1String("VERSION"))
            card.version = property.rawValue.trimmed();
        card.properties.append(std::move(property));
    }
    if (depth > 0)
        cards.append(card);
    return cards;
}

QString VCardParser::unescape(QStringView text)
{
    if (!text.contains(QLatin1Char('\\')) && !text.contains(QLatin1Char('\r')))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Line ends inside a value (quoted-printable's =0D=0A) become line feeds.
        if (c == QLatin1Char('\r')) {
            if (i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('\n'))
                out.append(QLatin1Char('\n'));
            continue;
        }
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            out.append(c);
            continue;
        }
        const QChar next = text.at(i + 1);
        switch (next.unicode()) {
        case 'n':
        case 'N':
            out.append(QLatin1Char('\n'));
            ++i;
            break;
        case ',':
        case ';':
        case ':':
        case '\\':
            out.append(next);
            ++i;
            break;
        default:
            out.append(c);
            break;
        }
    }
    return out;
}

QStringList VCardParser::splitStructured(QStringView text)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (c == QLatin1Char(';')) {
            parts.append(text.mid(start, i - start).toString());
            start = i + 1;
        }
    }
    parts.append(text.mid(qMin(start, text.size())).toString());
    return parts;
}
