#include "ItemInformation.h"

#include "BundleVersion.h"
#include "NativeFileName.h"
#include "QOR_StringUtils.h"

#include <QDateTime>
#include <QFile>

#include <sys/stat.h>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

QString bracketed(const QString &title, const QString &detail)
{
    return QStringLiteral("%1\n(%2)").arg(title, detail);
}

} // namespace

QString ItemInformation::textFor(const QString &path, bool showRawPath)
{
    QString title = showRawPath ? path : QOR_StringUtils::localizedPath(path);
    QString detail;
    struct stat status {
    };
    if (::lstat(NativeFileName::toNative(path).constData(), &status) == 0) {
        const QDateTime modified = QDateTime::fromSecsSinceEpoch(status.st_mtim.tv_sec);
        if (S_ISLNK(status.st_mode)) {
            detail = localized("SymbolicLink");
        } else if (S_ISSOCK(status.st_mode)) {
            detail = localized("Socket");
        } else if (S_ISREG(status.st_mode)) {
            detail =
                QStringLiteral("%1 - %2").arg(QOR_StringUtils::getSizeBytes(status.st_size),
                                              QOR_StringUtils::getShortTimeSecondsDate(modified));
        } else if (S_ISDIR(status.st_mode)) {
            if (const std::optional<QString> version = BundleVersion::ofFolder(path))
                title = bracketed(title, *version);
            detail = QOR_StringUtils::getShortTimeSecondsDate(modified);
        }
    }
    if (!detail.isEmpty())
        title = bracketed(title, detail);
    return NativeFileName::forDisplay(QStringLiteral("%1\n\n%2").arg(title, path));
}
