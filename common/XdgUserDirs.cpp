#include "XdgUserDirs.h"

#include "BoundedFile.h"
#include "NativeFileName.h"

#include <QDir>
#include <QStandardPaths>

namespace {

// A file of a dozen lines; a larger one is not what xdg-user-dirs writes.
constexpr qint64 MaxUserDirsSize = 64 * 1024;

} // namespace

QHash<QString, QString> XdgUserDirs::parse(const QByteArray &contents, const QString &home)
{
    QHash<QString, QString> folders;
    for (QByteArray line : contents.split('\n')) {
        line = line.trimmed();
        if (!line.startsWith("XDG_") || line.startsWith('#'))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0 || !line.left(equals).endsWith("_DIR"))
            continue;
        const QByteArray name = line.mid(4, equals - 4 - 4);
        QByteArray value = line.mid(equals + 1).trimmed();
        if (name.isEmpty() || value.size() < 2 || !value.startsWith('"') || !value.endsWith('"'))
            continue;
        value = value.mid(1, value.size() - 2);
        // The file's only escapes: \" and \\ .
        QByteArray unescaped;
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value.at(i) == '\\' && i + 1 < value.size())
                ++i;
            unescaped.append(value.at(i));
        }
        QString path;
        if (unescaped.startsWith("$HOME"))
            path = home + NativeFileName::fromNative(unescaped.mid(5));
        else if (unescaped.startsWith('/'))
            path = NativeFileName::fromNative(unescaped);
        else
            continue;
        folders.insert(QString::fromLatin1(name), QDir::cleanPath(path));
    }
    return folders;
}

QHash<QString, QString> XdgUserDirs::read()
{
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/user-dirs.dirs");
    const BoundedFile::Result result = BoundedFile::read(file, MaxUserDirsSize);
    BoundedFile::logFailure(file, result);
    if (!result.isRead())
        return {};
    return parse(result.bytes, QDir::homePath());
}
