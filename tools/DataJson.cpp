#include "DataJson.h"

#include "KorvaleArchive.h"

#include <QDateTime>
#include <QStringDecoder>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Escapes on the UTF-8 bytes, so that surrogate pairs pass through whole.
void appendText(QByteArray &out, const QString &s)
{
    QByteArray escaped;
    escaped.reserve(s.size() + 2);
    escaped += '"';
    const QByteArray utf8 = s.toUtf8();
    for (const char ch : utf8) {
        const auto u = static_cast<unsigned char>(ch);
        switch (u) {
        case '"':
            escaped += "\\\"";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\t':
            escaped += "\\t";
            break;
        default:
            if (u < 0x20)
                escaped += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
            else
                escaped += char(u);
        }
    }
    escaped += '"';
    out += escaped;
}

QByteArray realText(double d)
{
    if (!std::isfinite(d))
        return "null";
    // Qt prints zero without its sign, and -0.0 must load back as what was dumped.
    if (d == 0)
        return std::signbit(d) ? "-0.0" : "0.0";
    QByteArray text = QByteArray::number(d, 'g', 17);
    // Shortest text that reads back to the same double.
    for (int precision = 1; precision <= 17; ++precision) {
        const QByteArray candidate = QByteArray::number(d, 'g', precision);
        if (candidate.toDouble() == d) {
            text = candidate;
            break;
        }
    }
    if (!text.contains('.') && !text.contains('e') && !text.contains("inf")
        && !text.contains("nan"))
        text += ".0";
    return text;
}

void indent(QByteArray &out, int level)
{
    out += '\n';
    out += QByteArray(level * 2, ' ');
}

void write(QByteArray &out, const QVariant &v, int level)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        out += "null";
        return;
    case QMetaType::Bool:
        out += v.toBool() ? "true" : "false";
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        out += QByteArray::number(v.toLongLong());
        return;
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::ULong:
        out += QByteArray::number(v.toULongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        out += realText(v.toDouble());
        return;
    case QMetaType::QString:
        appendText(out, v.toString());
        return;
    case QMetaType::QByteArray:
        out += "{\"$data\": \"" + v.toByteArray().toBase64() + "\"}";
        return;
    case QMetaType::QDateTime:
        out += "{\"$date\": ";
        appendText(out, v.toDateTime().toUTC().toString(Qt::ISODateWithMs));
        out += '}';
        return;
    case QMetaType::QVariantMap: {
        const QVariantMap map = v.toMap();
        if (map.isEmpty()) {
            out += "{}";
            return;
        }
        out += '{';
        bool first = true;
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            if (!first)
                out += ',';
            first = false;
            indent(out, level + 1);
            appendText(out, it.key());
            out += ": ";
            write(out, it.value(), level + 1);
        }
        indent(out, level);
        out += '}';
        return;
    }
    default:
        if (v.canConvert<QVariantList>()) {
            const QVariantList list = v.toList();
            if (list.isEmpty()) {
                out += "[]";
                return;
            }
            out += '[';
            for (qsizetype i = 0; i < list.size(); ++i) {
                if (i)
                    out += ',';
                indent(out, level + 1);
                write(out, list.at(i), level + 1);
            }
            indent(out, level);
            out += ']';
            return;
        }
        appendText(out, v.toString());
    }
}

// A strict JSON reader (RFC 8259) that keeps the integer/real distinction Qt's parser drops.
class Reader
{
public:
    explicit Reader(const QByteArray &text)
        : s(text.constData())
        , end(text.constData() + text.size())
        , begin(s)
    {
    }

    QVariant document(QString &error)
    {
        skipSpace();
        QVariant value = readValue(0);
        skipSpace();
        if (mError.isEmpty() && s != end)
            fail("unexpected text after the value");
        error = mError;
        return mError.isEmpty() ? value : QVariant();
    }

private:
    void fail(const char *what)
    {
        if (mError.isEmpty())
            mError = QStringLiteral("invalid JSON at offset %1: %2")
                         .arg(s - begin)
                         .arg(QLatin1String(what));
    }
    void skipSpace()
    {
        while (s != end && (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r'))
            ++s;
    }
    bool literal(const char *word)
    {
        const std::size_t n = std::strlen(word);
        if (std::size_t(end - s) >= n && std::memcmp(s, word, n) == 0) {
            s += n;
            return true;
        }
        return false;
    }

    QVariant readValue(int depth)
    {
        if (depth > KorvaleArchive::MaxDepth) {
            fail("nesting too deep");
            return {};
        }
        if (s == end) {
            fail("unexpected end of input");
            return {};
        }
        switch (*s) {
        case '{':
            return readObject(depth);
        case '[':
            return readArray(depth);
        case '"':
            return readString();
        case 't':
            if (literal("true"))
                return true;
            break;
        case 'f':
            if (literal("false"))
                return false;
            break;
        case 'n':
            if (literal("null"))
                return QVariant();
            break;
        default:
            if (*s == '-' || (*s >= '0' && *s <= '9'))
                return readNumber();
        }
        fail("unexpected character");
        return {};
    }

    QVariant readNumber()
    {
        const char *start = s;
        bool real = false;
        if (*s == '-')
            ++s;
        auto digits = [this] {
            const char *d = s;
            while (s != end && *s >= '0' && *s <= '9')
                ++s;
            return s != d;
        };
        if (!digits()) {
            fail("malformed number");
            return {};
        }
        if (s != end && *s == '.') {
            real = true;
            ++s;
            if (!digits()) {
                fail("malformed number");
                return {};
            }
        }
        if (s != end && (*s == 'e' || *s == 'E')) {
            real = true;
            ++s;
            if (s != end && (*s == '+' || *s == '-'))
                ++s;
            if (!digits()) {
                fail("malformed number");
                return {};
            }
        }
        const QByteArray text(start, s - start);
        bool ok = false;
        if (!real) {
            const qlonglong n = text.toLongLong(&ok);
            if (ok) {
                if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
                    return int(n);
                return n;
            }
        }
        const double d = text.toDouble(&ok);
        if (!ok) {
            fail("number out of range");
            return {};
        }
        return d;
    }

    bool hex4(char16_t &out)
    {
        if (end - s < 4)
            return false;
        bool ok = false;
        out = char16_t(QByteArray(s, 4).toUShort(&ok, 16));
        s += 4;
        return ok;
    }

    QVariant readString()
    {
        ++s; // opening quote
        QByteArray utf8;
        QString text;
        while (true) {
            if (s == end) {
                fail("unterminated string");
                return {};
            }
            const char c = *s++;
            if (c == '"')
                break;
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("control character in a string");
                return {};
            }
            if (c != '\\') {
                utf8 += c;
                continue;
            }
            if (s == end) {
                fail("unterminated string");
                return {};
            }
            const char e = *s++;
            switch (e) {
            case '"':
                utf8 += '"';
                break;
            case '\\':
                utf8 += '\\';
                break;
            case '/':
                utf8 += '/';
                break;
            case 'b':
                utf8 += '\b';
                break;
            case 'f':
                utf8 += '\f';
                break;
            case 'n':
                utf8 += '\n';
                break;
            case 'r':
                utf8 += '\r';
                break;
            case 't':
                utf8 += '\t';
                break;
            case 'u': {
                char16_t unit = 0;
                if (!hex4(unit)) {
                    fail("malformed \\u escape");
                    return {};
                }
                QString units{QChar(unit)};
                if (QChar::isHighSurrogate(unit) && end - s >= 6 && s[0] == '\\' && s[1] == 'u') {
                    s += 2;
                    char16_t low = 0;
                    if (!hex4(low)) {
                        fail("malformed \\u escape");
                        return {};
                    }
                    units += QChar(low);
                }
                utf8 += units.toUtf8();
                break;
            }
            default:
                fail("unknown escape");
                return {};
            }
        }
        QStringDecoder decoder(QStringDecoder::Utf8);
        text = decoder.decode(utf8);
        if (decoder.hasError()) {
            fail("text that is not UTF-8");
            return {};
        }
        return text;
    }

    QVariant readArray(int depth)
    {
        ++s;
        QVariantList list;
        skipSpace();
        if (s != end && *s == ']') {
            ++s;
            return list;
        }
        while (mError.isEmpty()) {
            skipSpace();
            list.append(readValue(depth + 1));
            skipSpace();
            if (s != end && *s == ',') {
                ++s;
                continue;
            }
            if (s != end && *s == ']') {
                ++s;
                return list;
            }
            fail("expected , or ]");
        }
        return {};
    }

    QVariant readObject(int depth)
    {
        ++s;
        QVariantMap map;
        skipSpace();
        if (s != end && *s == '}') {
            ++s;
            return map;
        }
        while (mError.isEmpty()) {
            skipSpace();
            if (s == end || *s != '"') {
                fail("expected a key");
                return {};
            }
            const QString key = readString().toString();
            skipSpace();
            if (s == end || *s != ':') {
                fail("expected :");
                return {};
            }
            ++s;
            skipSpace();
            map.insert(key, readValue(depth + 1));
            skipSpace();
            if (s != end && *s == ',') {
                ++s;
                continue;
            }
            if (s != end && *s == '}') {
                ++s;
                return special(map);
            }
            fail("expected , or }");
        }
        return {};
    }

    // {"$date": ...} and {"$data": ...} stand for dates and blobs.
    QVariant special(const QVariantMap &map)
    {
        if (map.size() != 1)
            return map;
        const auto it = map.constBegin();
        if (it.key() == QLatin1String("$date")) {
            const QDateTime date = QDateTime::fromString(it.value().toString(), Qt::ISODateWithMs);
            if (it.value().typeId() != QMetaType::QString || !date.isValid()) {
                fail("\"$date\" does not hold an ISO 8601 date");
                return {};
            }
            return date;
        }
        if (it.key() == QLatin1String("$data")) {
            const auto decoded = QByteArray::fromBase64Encoding(
                it.value().toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (it.value().typeId() != QMetaType::QString || !decoded) {
                fail("\"$data\" does not hold base64 text");
                return {};
            }
            return *decoded;
        }
        return map;
    }

    const char *s;
    const char *end;
    const char *begin;
    QString mError;
};

} // namespace

QByteArray DataJson::toJson(const QVariant &value)
{
    QByteArray out;
    write(out, value, 0);
    out += '\n';
    return out;
}

DataJson::Parsed DataJson::fromJson(const QByteArray &json)
{
    Parsed parsed;
    parsed.value = Reader(json).document(parsed.error);
    return parsed;
}
