#pragma once

#include <QByteArray>
#include <QString>

// File names as the kernel holds them: bytes, not always valid UTF-8 (a name copied from an old
// disk, an archive made on another system). QFile::decodeName turns every invalid byte into
// U+FFFD, so such a file can be listed but never reached again by its name. Here each invalid
// byte 0x80..0xFF becomes the lone surrogate U+DC80..U+DCFF instead (the "surrogate escape" of
// other toolkits), which string operations carry along untouched and toNative turns back into
// the same byte: a name decoded and encoded again is the name read, byte for byte.
namespace NativeFileName {

// Valid UTF-8 decodes as QFile::decodeName does; each invalid byte becomes its escape.
QString fromNative(const QByteArray &bytes);
// UTF-8, with each escape written back as its byte.
QByteArray toNative(const QString &name);
// The name for the user: each escape shown as U+FFFD, as the file managers show such bytes.
QString forDisplay(const QString &name);
// Whether the name holds an escaped byte.
bool hasEscapes(const QString &name);
// Whether something is at the path, reached by its bytes (QFileInfo would look for U+FFFD).
bool exists(const QString &path);
// The file: URI of an absolute path, each byte outside the URI's unreserved set percent-encoded,
// as GIO and the file managers write a name that is not UTF-8.
QByteArray fileUri(const QString &path);

} // namespace NativeFileName
