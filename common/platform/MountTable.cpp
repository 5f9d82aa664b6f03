#include "MountTable.h"

#include <QFile>
#include <QSet>

namespace {

// mountinfo escapes blanks and backslashes in paths as octal sequences.
QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

} // namespace

QList<MountTable::Mount> MountTable::parseMountInfo(const QByteArray &text)
{
    QList<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() < 5 || separator < 0 || separator + 2 >= fields.size())
            continue;
        mounts.append({unescape(fields[4]), QString::fromUtf8(fields[separator + 1]),
                       unescape(fields[separator + 2])});
    }
    return mounts;
}

bool MountTable::isRealFileSystem(const Mount &mount)
{
    static const QSet<QString> network = {QStringLiteral("nfs"), QStringLiteral("nfs4"),
                                          QStringLiteral("cifs"), QStringLiteral("smb3"),
                                          QStringLiteral("sshfs"), QStringLiteral("fuse.sshfs")};
    return mount.source.startsWith(QLatin1String("/dev/")) || network.contains(mount.fileSystemType);
}

QList<MountTable::Mount> MountTable::realFileSystems()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Mount> real;
    for (const Mount &mount : parseMountInfo(file.readAll())) {
        if (isRealFileSystem(mount))
            real.append(mount);
    }
    return real;
}
