#include "KorvaleArchive.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

// A direct CBOR codec: the stream classes of Qt cost several allocations per value, which
// dominated saving and reading lists of 100,000 records.
namespace {

constexpr quint64 kSelfDescribeTag = 55799;
constexpr quint64 kEpochTag = 1;
constexpr int kMaxDepth = KorvaleArchive::MaxDepth;

enum Major : quint8 {
    Unsigned = 0,
    Negative = 1,
    Bytes = 2,
    Text = 3,
    Array = 4,
    Map = 5,
    Tag = 6,
    Simple = 7,
};

class Writer
{
public:
    explicit Writer(QByteArray &out)
        : out(out)
    {
    }

    void head(Major major, quint64 n)
    {
        const quint8 m = quint8(major << 5);
        char buf[9];
        int len = 0;
        if (n < 24) {
            buf[len++] = char(m | n);
        } else if (n <= 0xff) {
            buf[len++] = char(m | 24);
            buf[len++] = char(n);
        } else if (n <= 0xffff) {
            buf[len++] = char(m | 25);
            for (int shift = 8; shift >= 0; shift -= 8)
                buf[len++] = char(n >> shift);
        } else if (n <= 0xffffffffu) {
            buf[len++] = char(m | 26);
            for (int shift = 24; shift >= 0; shift -= 8)
                buf[len++] = char(n >> shift);
        } else {
            buf[len++] = char(m | 27);
            for (int shift = 56; shift >= 0; shift -= 8)
                buf[len++] = char(n >> shift);
        }
        out.append(buf, len);
    }

    void integer(qint64 n)
    {
        if (n >= 0)
            head(Unsigned, quint64(n));
        else
            head(Negative, quint64(-(n + 1)));
    }

    void real(double d)
    {
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        char buf[9];
        buf[0] = char(0xfb);
        for (int i = 0; i < 8; ++i)
            buf[1 + i] = char(bits >> (56 - 8 * i));
        out.append(buf, 9);
    }

    void text(const QString &s)
    {
        // Most keys and titles are ASCII: copy them without an intermediate UTF-8 array.
        const qsizetype n = s.size();
        const QChar *chars = s.constData();
        bool ascii = true;
        for (qsizetype i = 0; i < n && ascii; ++i)
            ascii = chars[i].unicode() < 0x80;
        if (!ascii) {
            const QByteArray utf8 = s.toUtf8();
            head(Text, quint64(utf8.size()));
            out.append(utf8);
            return;
        }
        head(Text, quint64(n));
        const qsizetype at = out.size();
        out.resize(at + n);
        char *dst = out.data() + at;
        for (qsizetype i = 0; i < n; ++i)
            dst[i] = char(chars[i].unicode());
    }

    void bytes(const QByteArray &b)
    {
        head(Bytes, quint64(b.size()));
        out.append(b);
    }

    bool value(const QVariant &v, int depth, QString &error)
    {
        if (depth > kMaxDepth) {
            error = QStringLiteral("nesting deeper than %1 levels").arg(kMaxDepth);
            return false;
        }
        switch (v.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            out.append(char(0xf6));
            return true;
        case QMetaType::Bool:
            out.append(char(v.toBool() ? 0xf5 : 0xf4));
            return true;
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::SChar:
        case QMetaType::Char:
            integer(v.toLongLong());
            return true;
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::UChar:
            head(Unsigned, v.toULongLong());
            return true;
        case QMetaType::Double:
        case QMetaType::Float:
            real(v.toDouble());
            return true;
        case QMetaType::QString:
            text(v.toString());
            return true;
        case QMetaType::QByteArray:
            bytes(v.toByteArray());
            return true;
        case QMetaType::QDateTime: {
            const QDateTime date = v.toDateTime();
            if (!date.isValid()) {
                out.append(char(0xf6));
                return true;
            }
            head(Tag, kEpochTag);
            real(double(date.toMSecsSinceEpoch()) / 1000.0);
            return true;
        }
        case QMetaType::QStringList: {
            const QStringList list = v.toStringList();
            head(Array, quint64(list.size()));
            for (const QString &s : list)
                text(s);
            return true;
        }
        case QMetaType::QVariantList: {
            const QVariantList &list = *static_cast<const QVariantList *>(v.constData());
            head(Array, quint64(list.size()));
            for (const QVariant &element : list) {
                if (!value(element, depth + 1, error))
                    return false;
            }
            return true;
        }
        case QMetaType::QVariantMap: {
            const QVariantMap &map = *static_cast<const QVariantMap *>(v.constData());
            head(Map, quint64(map.size()));
            for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
                text(it.key());
                if (!value(it.value(), depth + 1, error))
                    return false;
            }
            return true;
        }
        case QMetaType::QVariantHash: {
            const QVariantHash hash = v.toHash();
            head(Map, quint64(hash.size()));
            for (auto it = hash.constBegin(); it != hash.constEnd(); ++it) {
                text(it.key());
                if (!value(it.value(), depth + 1, error))
                    return false;
            }
            return true;
        }
        default:
            error = QStringLiteral("value of type %1 cannot be archived").arg(v.typeName());
            return false;
        }
    }

private:
    QByteArray &out;
};

class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : p(reinterpret_cast<const quint8 *>(bytes.constData()))
        , end(p + bytes.size())
    {
    }

    QVariant readTop()
    {
        // The self-describe mark every file starts with is not a level of nesting.
        static constexpr quint8 selfDescribe[] = {0xd9, 0xd9, 0xf7};
        if (end - p >= 3 && std::memcmp(p, selfDescribe, 3) == 0)
            p += 3;
        QVariant v = readValue(0);
        if (error.isEmpty() && p != end && !cut)
            fail(QStringLiteral("unexpected data after the archived value"));
        return error.isEmpty() ? v : QVariant();
    }

    QString error;
    // At most this many elements of the outermost list are read; cut tells it happened.
    quint64 topLimit = std::numeric_limits<quint64>::max();
    quint64 topCount = 0;
    bool cut = false;

private:
    struct Head {
        quint8 major = 0;
        quint8 info = 0;
        quint64 argument = 0;
    };

    void fail(const QString &reason)
    {
        if (error.isEmpty())
            error = reason;
    }

    bool readHead(Head &h)
    {
        if (p == end) {
            fail(QStringLiteral("truncated archive"));
            return false;
        }
        const quint8 initial = *p++;
        h.major = initial >> 5;
        h.info = initial & 0x1f;
        if (h.info < 24) {
            h.argument = h.info;
            return true;
        }
        int size = 0;
        switch (h.info) {
        case 24:
            size = 1;
            break;
        case 25:
            size = 2;
            break;
        case 26:
            size = 4;
            break;
        case 27:
            size = 8;
            break;
        default:
            // Indefinite lengths are never written by the suite.
            fail(QStringLiteral("unsupported encoding"));
            return false;
        }
        if (end - p < size) {
            fail(QStringLiteral("truncated archive"));
            return false;
        }
        quint64 n = 0;
        for (int i = 0; i < size; ++i)
            n = (n << 8) | *p++;
        h.argument = n;
        return true;
    }

    // A length must fit in what is left of the file before anything is allocated for it.
    bool lengthFits(quint64 n, quint64 minimumBytesEach)
    {
        if (n > quint64(end - p) / minimumBytesEach) {
            fail(QStringLiteral("truncated archive"));
            return false;
        }
        return true;
    }

    static QVariant integer(qint64 n)
    {
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return QVariant(int(n));
        return QVariant(qlonglong(n));
    }

    static double halfToDouble(quint16 h)
    {
        const int exponent = (h >> 10) & 0x1f;
        const int mantissa = h & 0x3ff;
        double value;
        if (exponent == 0)
            value = std::ldexp(mantissa, -24);
        else if (exponent != 31)
            value = std::ldexp(mantissa + 1024, exponent - 25);
        else
            value = mantissa == 0 ? std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::quiet_NaN();
        return (h & 0x8000) ? -value : value;
    }

    // Keys repeat in every record; sharing their strings saves an allocation per key.
    QString key(const char *data, qsizetype size)
    {
        if (size <= 16) {
            for (const KnownKey &k : knownKeys) {
                if (k.size == size && std::memcmp(k.bytes, data, size_t(size)) == 0)
                    return k.string;
            }
        }
        QString s = QString::fromUtf8(data, size);
        if (size <= 16 && knownKeys.size() < 64) {
            KnownKey k;
            std::memcpy(k.bytes, data, size_t(size));
            k.size = size;
            k.string = s;
            knownKeys.append(k);
        }
        return s;
    }

    bool readText(const Head &h, const char *&data, qsizetype &size)
    {
        if (!lengthFits(h.argument, 1))
            return false;
        data = reinterpret_cast<const char *>(p);
        size = qsizetype(h.argument);
        p += size;
        return true;
    }

    QVariant readValue(int depth)
    {
        if (depth > kMaxDepth) {
            fail(QStringLiteral("nesting deeper than %1 levels").arg(kMaxDepth));
            return {};
        }
        Head h;
        if (!readHead(h))
            return {};
        switch (h.major) {
        case Unsigned:
            if (h.argument > quint64(std::numeric_limits<qint64>::max()))
                return QVariant(qulonglong(h.argument));
            return integer(qint64(h.argument));
        case Negative:
            if (h.argument > quint64(std::numeric_limits<qint64>::max())) {
                fail(QStringLiteral("integer out of range"));
                return {};
            }
            return integer(-qint64(h.argument) - 1);
        case Bytes: {
            const char *data;
            qsizetype size;
            if (!readText(h, data, size))
                return {};
            return QByteArray(data, size);
        }
        case Text: {
            const char *data;
            qsizetype size;
            if (!readText(h, data, size))
                return {};
            return QString::fromUtf8(data, size);
        }
        case Array: {
            if (!lengthFits(h.argument, 1))
                return {};
            quint64 count = h.argument;
            if (depth == 0) {
                topCount = count;
                if (count > topLimit) {
                    count = topLimit;
                    cut = true;
                }
            }
            QVariantList list;
            list.reserve(qsizetype(count));
            for (quint64 i = 0; i < count && error.isEmpty(); ++i)
                list.append(readValue(depth + 1));
            return error.isEmpty() ? QVariant(list) : QVariant();
        }
        case Map: {
            if (!lengthFits(h.argument, 2))
                return {};
            QVariantMap map;
            for (quint64 i = 0; i < h.argument && error.isEmpty(); ++i) {
                Head keyHead;
                if (!readHead(keyHead))
                    return {};
                if (keyHead.major != Text) {
                    fail(QStringLiteral("dictionary key that is not a string"));
                    return {};
                }
                const char *data;
                qsizetype size;
                if (!readText(keyHead, data, size))
                    return {};
                QString k = key(data, size);
                QVariant v = readValue(depth + 1);
                // Written in key order, so appending at the end is the usual case.
                map.insert(map.constEnd(), k, v);
            }
            return error.isEmpty() ? QVariant(map) : QVariant();
        }
        case Tag:
            if (h.argument == kEpochTag)
                return readDate();
            return readValue(depth + 1); // other tags only annotate their value
        case Simple:
        default:
            return readSimple(h);
        }
    }

    QVariant readSimple(const Head &h)
    {
        switch (h.info) {
        case 20:
            return false;
        case 21:
            return true;
        case 22:
        case 23:
            return {};
        case 25:
            return halfToDouble(quint16(h.argument));
        case 26: {
            const quint32 bits = quint32(h.argument);
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return double(f);
        }
        case 27: {
            const quint64 bits = h.argument;
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        default:
            if (h.info < 20 || h.info == 24)
                return {}; // unassigned simple values read as absent
            fail(QStringLiteral("unsupported encoding"));
            return {};
        }
    }

    // The seconds are read here rather than as a nested value: a date's content is one number,
    // and nothing inside it may nest again.
    QVariant readDate()
    {
        Head h;
        if (!readHead(h))
            return {};
        double s = 0;
        bool numeric = true;
        if (h.major == Unsigned && h.argument <= quint64(std::numeric_limits<qint64>::max()))
            s = double(qint64(h.argument));
        else if (h.major == Negative && h.argument <= quint64(std::numeric_limits<qint64>::max()))
            s = double(-qint64(h.argument) - 1);
        else if (h.major == Simple && h.info >= 25 && h.info <= 27)
            s = readSimple(h).toDouble();
        else
            numeric = false;
        const double ms = std::round(s * 1000.0);
        if (!numeric || !std::isfinite(ms) || std::fabs(ms) > 8.64e15) {
            fail(QStringLiteral("date without a valid number of seconds"));
            return {};
        }
        // UTC: a local-time date costs a time-zone lookup per value; callers convert for display.
        return QDateTime::fromMSecsSinceEpoch(qint64(ms), QTimeZone::utc());
    }

    struct KnownKey {
        char bytes[16];
        qsizetype size = 0;
        QString string;
    };

    const quint8 *p;
    const quint8 *end;
    QList<KnownKey> knownKeys;
};

} // namespace

KorvaleArchive::Encoded KorvaleArchive::encode(const QVariant &value)
{
    Encoded out;
    out.bytes.reserve(4096);
    Writer w(out.bytes);
    w.head(Tag, kSelfDescribeTag);
    if (!w.value(value, 0, out.error))
        out.bytes.clear();
    out.bytes.squeeze();
    return out;
}

KorvaleArchive::Decoded KorvaleArchive::decode(const QByteArray &bytes)
{
    Decoded out;
    if (bytes.isEmpty()) {
        out.error = QStringLiteral("empty archive");
        return out;
    }
    Reader reader(bytes);
    out.value = reader.readTop();
    out.error = reader.error;
    return out;
}

std::optional<QVariantList> KorvaleArchive::decodeList(const QByteArray &bytes,
                                                       qsizetype maxRecords, quint64 *recordsInFile)
{
    if (recordsInFile)
        *recordsInFile = 0;
    if (bytes.isEmpty())
        return QVariantList();
    Reader reader(bytes);
    reader.topLimit = quint64(std::max<qsizetype>(maxRecords, 0));
    const QVariant value = reader.readTop();
    if (!reader.error.isEmpty() || value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    if (recordsInFile)
        *recordsInFile = reader.topCount;
    return value.toList();
}

std::optional<QVariantList> KorvaleArchive::decodeList(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QVariantList();
    const Decoded decoded = decode(bytes);
    if (!decoded.error.isEmpty() || decoded.value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return decoded.value.toList();
}
