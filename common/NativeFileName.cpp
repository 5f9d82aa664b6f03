#include "NativeFileName.h"

#include <unistd.h>

namespace {

constexpr char16_t FirstEscape = 0xDC80;
constexpr char16_t LastEscape = 0xDCFF;

bool isEscape(char16_t unit)
{
    return unit >= FirstEscape && unit <= LastEscape;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none
// (overlong forms, encoded surrogates and code points past U+10FFFF are not valid).
int validSequenceAt(const QByteArray &bytes, qsizetype at, char32_t *codePoint)
{
    const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    const qsizetype left = bytes.size() - at;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    int length = 0;
    char32_t value = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(byte(at + i)))
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *codePoint = value;
    return length;
}

// The positions of the escaped bytes in a name; a low surrogate after a high one is half of a
// character, never an escape. Stops early when `visit` returns false.
template <typename Visit> void forEachEscape(const QString &name, Visit visit)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < name.size()
            && QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        if (isEscape(unit) && !visit(i, unit))
            return;
    }
}

} // namespace

QString NativeFileName::fromNative(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t codePoint = 0;
        const int length = validSequenceAt(bytes, at, &codePoint);
        if (length == 0) {
            name.append(
                QChar(char16_t(FirstEscape - 0x80 + static_cast<unsigned char>(bytes[at]))));
            ++at;
            continue;
        }
        if (codePoint > 0xFFFF) {
            const char32_t chars[] = {codePoint};
            name.append(QString::fromUcs4(chars, 1));
        } else {
            name.append(QChar(char16_t(codePoint)));
        }
        at += length;
    }
    return name;
}

QByteArray NativeFileName::toNative(const QString &name)
{
    if (!hasEscapes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    forEachEscape(name, [&](qsizetype i, char16_t unit) {
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        bytes += char(unit - FirstEscape + 0x80);
        runStart = i + 1;
        return true;
    });
    bytes += QStringView(name).mid(runStart).toUtf8();
    return bytes;
}

bool NativeFileName::hasEscapes(const QString &name)
{
    bool found = false;
    forEachEscape(name, [&found](qsizetype, char16_t) {
        found = true;
        return false;
    });
    return found;
}

QString NativeFileName::forDisplay(const QString &name)
{
    if (!hasEscapes(name))
        return name;
    QString shown = name;
    forEachEscape(name, [&shown](qsizetype i, char16_t) {
        shown[i] = QChar(QChar::ReplacementCharacter);
        return true;
    });
    return shown;
}

bool NativeFileName::exists(const QString &path)
{
    return !path.isEmpty() && ::access(toNative(path).constData(), F_OK) == 0;
}

QByteArray NativeFileName::fileUri(const QString &path)
{
    // What a path may hold unencoded, as QUrl writes it.
    return QByteArrayLiteral("file://") + toNative(path).toPercentEncoding("/!$&'()*+,;=:@");
}
