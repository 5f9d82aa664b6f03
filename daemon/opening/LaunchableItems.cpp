#include "LaunchableItems.h"

#include "QOR_FilesUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// An ELF program or a script the kernel runs through its "#!" line.
bool hasProgramHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(4);
    return start
        == QByteArrayLiteral("\x7f"
                             "ELF")
        || start.startsWith("#!");
}

} // namespace

bool LaunchableItems::isProgram(const QString &path, const QList<MountTable::Mount> &mounts)
{
    const QFileInfo info(path); // links are followed, as for programs reached through one
    if (info.isDir())
        return QFileInfo(QDir::cleanPath(path))
                   .suffix()
                   .compare(QLatin1String("app"), Qt::CaseInsensitive)
            == 0;
    if (!info.isFile())
        return false;
    if (info.suffix() == QLatin1String("desktop"))
        return QOR_FilesUtils::isApplication(path);
    if (!info.isExecutable())
        return false;
    // The bits of the file the link leads to, on the file system that holds it.
    const std::optional<MountTable::Mount> mount =
        MountTable::mountOf(info.canonicalFilePath(), mounts);
    if (mount && !MountTable::keepsPermissions(mount->fileSystemType))
        return false;
    return hasProgramHeader(path);
}
