#include "KorvaleArchive.h"

#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace {

constexpr quint64 kSelfDescribeTag = 55799;
constexpr int kMaxDepth = 200; // a damaged or hostile file must not exhaust the stack
constexpr qsizetype kMaxReserve = 1 << 16;

bool writeValue(QCborStreamWriter &w, const QVariant &v, int depth, QString &error)
{
    if (depth > kMaxDepth) {
        error = QStringLiteral("nesting deeper than %1 levels").arg(kMaxDepth);
        return false;
    }
    switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        w.append(nullptr);
        return true;
    case QMetaType::Bool:
        w.append(v.toBool());
        return true;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::Char:
        w.append(qint64(v.toLongLong()));
        return true;
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        w.append(quint64(v.toULongLong()));
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        w.append(v.toDouble());
        return true;
    case QMetaType::QString:
        w.append(v.toString());
        return true;
    case QMetaType::QByteArray:
        w.append(v.toByteArray());
        return true;
    case QMetaType::QDateTime: {
        const QDateTime date = v.toDateTime();
        if (!date.isValid()) {
            w.append(nullptr);
            return true;
        }
        w.append(QCborKnownTags::UnixTime_t);
        w.append(double(date.toMSecsSinceEpoch()) / 1000.0);
        return true;
    }
    case QMetaType::QStringList: {
        const QStringList list = v.toStringList();
        w.startArray(quint64(list.size()));
        for (const QString &s : list)
            w.append(s);
        w.endArray();
        return true;
    }
    case QMetaType::QVariantList: {
        const QVariantList list = v.toList();
        w.startArray(quint64(list.size()));
        for (const QVariant &element : list) {
            if (!writeValue(w, element, depth + 1, error))
                return false;
        }
        w.endArray();
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap map = v.toMap();
        w.startMap(quint64(map.size()));
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            w.append(it.key());
            if (!writeValue(w, it.value(), depth + 1, error))
                return false;
        }
        w.endMap();
        return true;
    }
    case QMetaType::QVariantHash: {
        const QVariantHash hash = v.toHash();
        w.startMap(quint64(hash.size()));
        for (auto it = hash.constBegin(); it != hash.constEnd(); ++it) {
            w.append(it.key());
            if (!writeValue(w, it.value(), depth + 1, error))
                return false;
        }
        w.endMap();
        return true;
    }
    default:
        error = QStringLiteral("value of type %1 cannot be archived").arg(v.typeName());
        return false;
    }
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : r(bytes), size(bytes.size()) {}

    QVariant readTop()
    {
        QVariant value = readValue(0);
        if (error.isEmpty() && r.lastError() == QCborError::NoError && r.currentOffset() != size)
            fail(QStringLiteral("unexpected data after the archived value"));
        if (error.isEmpty() && r.lastError() != QCborError::NoError)
            fail(r.lastError().toString());
        return value;
    }

    QString error;

private:
    void fail(const QString &reason)
    {
        if (error.isEmpty())
            error = reason;
    }

    bool ok()
    {
        if (!error.isEmpty())
            return false;
        if (r.lastError() != QCborError::NoError) {
            fail(r.lastError().toString());
            return false;
        }
        return true;
    }

    QString readString()
    {
        QString out;
        auto chunk = r.readString();
        while (chunk.status == QCborStreamReader::Ok) {
            out += chunk.data;
            chunk = r.readString();
        }
        if (chunk.status == QCborStreamReader::Error)
            fail(QStringLiteral("damaged text string"));
        return out;
    }

    QByteArray readBytes()
    {
        QByteArray out;
        auto chunk = r.readByteArray();
        while (chunk.status == QCborStreamReader::Ok) {
            out += chunk.data;
            chunk = r.readByteArray();
        }
        if (chunk.status == QCborStreamReader::Error)
            fail(QStringLiteral("damaged byte string"));
        return out;
    }

    static QVariant integer(qint64 n)
    {
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return QVariant(int(n));
        return QVariant(qlonglong(n));
    }

    QVariant readValue(int depth)
    {
        if (depth > kMaxDepth) {
            fail(QStringLiteral("nesting deeper than %1 levels").arg(kMaxDepth));
            return {};
        }
        if (!ok())
            return {};
        switch (r.type()) {
        case QCborStreamReader::UnsignedInteger: {
            const quint64 n = r.toUnsignedInteger();
            r.next();
            if (n > quint64(std::numeric_limits<qint64>::max()))
                return QVariant(qulonglong(n));
            return integer(qint64(n));
        }
        case QCborStreamReader::NegativeInteger: {
            const quint64 magnitude = quint64(r.toNegativeInteger());
            r.next();
            if (magnitude > quint64(std::numeric_limits<qint64>::max()) + 1) {
                fail(QStringLiteral("integer out of range"));
                return {};
            }
            return integer(qint64(-magnitude));
        }
        case QCborStreamReader::ByteArray:
            return readBytes();
        case QCborStreamReader::String:
            return readString();
        case QCborStreamReader::Array:
            return readArray(depth);
        case QCborStreamReader::Map:
            return readMap(depth);
        case QCborStreamReader::Tag: {
            const quint64 tag = quint64(r.toTag());
            r.next();
            if (tag == quint64(QCborKnownTags::UnixTime_t))
                return readDate();
            return readValue(depth + 1); // unknown tags only annotate their value
        }
        case QCborStreamReader::SimpleType: {
            QVariant v;
            if (r.isTrue() || r.isFalse())
                v = r.isTrue();
            r.next(); // null, undefined and unassigned simple values read as absent
            return v;
        }
        case QCborStreamReader::Float16: {
            const double d = double(r.toFloat16());
            r.next();
            return d;
        }
        case QCborStreamReader::Float: {
            const double d = double(r.toFloat());
            r.next();
            return d;
        }
        case QCborStreamReader::Double: {
            const double d = r.toDouble();
            r.next();
            return d;
        }
        case QCborStreamReader::Invalid:
        default:
            fail(r.lastError() == QCborError::NoError ? QStringLiteral("truncated archive")
                                                      : r.lastError().toString());
            return {};
        }
    }

    QVariant readDate()
    {
        double seconds = 0;
        switch (r.type()) {
        case QCborStreamReader::UnsignedInteger:
            seconds = double(r.toUnsignedInteger());
            break;
        case QCborStreamReader::NegativeInteger:
            seconds = -double(quint64(r.toNegativeInteger()));
            break;
        case QCborStreamReader::Double:
            seconds = r.toDouble();
            break;
        case QCborStreamReader::Float:
            seconds = double(r.toFloat());
            break;
        default:
            fail(QStringLiteral("date without a number of seconds"));
            return {};
        }
        r.next();
        const double ms = std::round(seconds * 1000.0);
        if (!std::isfinite(ms) || std::fabs(ms) > 8.64e15) {
            fail(QStringLiteral("date out of range"));
            return {};
        }
        return QDateTime::fromMSecsSinceEpoch(qint64(ms));
    }

    QVariant readArray(int depth)
    {
        QVariantList list;
        if (r.isLengthKnown())
            list.reserve(qsizetype(std::min<quint64>(r.length(), kMaxReserve)));
        if (!r.enterContainer()) {
            fail(QStringLiteral("damaged list"));
            return {};
        }
        while (ok() && r.hasNext())
            list.append(readValue(depth + 1));
        if (!ok() || !r.leaveContainer()) {
            fail(QStringLiteral("damaged list"));
            return {};
        }
        return list;
    }

    QVariant readMap(int depth)
    {
        QVariantMap map;
        if (!r.enterContainer()) {
            fail(QStringLiteral("damaged dictionary"));
            return {};
        }
        while (ok() && r.hasNext()) {
            if (r.type() != QCborStreamReader::String) {
                fail(QStringLiteral("dictionary key that is not a string"));
                return {};
            }
            const QString key = readString();
            if (!ok())
                return {};
            map.insert(key, readValue(depth + 1));
        }
        if (!ok() || !r.leaveContainer()) {
            fail(QStringLiteral("damaged dictionary"));
            return {};
        }
        return map;
    }

    QCborStreamReader r;
    qint64 size;
};

} // namespace

KorvaleArchive::Encoded KorvaleArchive::encode(const QVariant &value)
{
    Encoded out;
    QCborStreamWriter w(&out.bytes);
    w.append(QCborTag(kSelfDescribeTag));
    if (!writeValue(w, value, 0, out.error))
        out.bytes.clear();
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
    if (!out.error.isEmpty())
        out.value = QVariant();
    return out;
}
