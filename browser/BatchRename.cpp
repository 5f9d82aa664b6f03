#include "BatchRename.h"

#include "BrowserItem.h"
#include "FileMoves.h"
#include "NativeFileName.h"
#include "QOR_StringUtils.h"

#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

std::optional<QDateTime> modificationDateOf(const QString &path)
{
    struct stat status {
    };
    if (::lstat(NativeFileName::toNative(path).constData(), &status) != 0)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000
                                          + status.st_mtim.tv_nsec / 1000000);
}

QString folderPrefixOf(const QString &path)
{
    const QString folder = QFileInfo(path).path();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

int BatchRename::digitCount(int digits)
{
    return std::clamp(digits, 1, MaxDigits);
}

int BatchRename::widenedDigits(int digits, int selectedRows)
{
    if (selectedRows >= 100 && digits <= 2)
        return 3;
    if (selectedRows >= 10 && digits <= 1)
        return 2;
    return digits;
}

QString BatchRename::numberText(int number, int digits)
{
    return (QStringLiteral("000000000000000000") + QString::number(number))
        .right(digitCount(digits));
}

QString BatchRename::baseName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

QString BatchRename::extension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.mid(dot + 1) : QString();
}

QString BatchRename::newName(const QString &path, const Scheme &scheme, int number,
                             const std::optional<QDateTime> &modified)
{
    const QDateTime local = modified ? modified->toLocalTime() : QDateTime();
    const QString date =
        modified ? local.toString(QStringLiteral("yyMMdd")) : QStringLiteral("000000");
    const QString time =
        modified ? local.toString(QStringLiteral("HH_mm_ss")) : QStringLiteral("00_00_00");
    const QString fileName = QFileInfo(path).fileName();
    const QString ext = extension(fileName);
    // "%N" last, so that placeholders inside the item's own name stay as they are.
    QString name = scheme.text;
    name.replace(QStringLiteral("%D"), date);
    name.replace(QStringLiteral("%T"), time);
    name.replace(QStringLiteral("%X"), numberText(number, scheme.digits));
    name.replace(QStringLiteral("%N"), baseName(fileName));
    if (scheme.preserveExtension && !ext.isEmpty())
        name += QLatin1Char('.') + ext;
    return name;
}

QString BatchRename::newNameForPath(const QString &path, const Scheme &scheme, int number)
{
    return newName(path, scheme, number, modificationDateOf(path));
}

std::optional<QString> BatchRename::problemWithName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return localized("BrowserRenameBadName");
    return std::nullopt;
}

QList<BatchRename::Failure> BatchRename::run(const QList<BrowserItem *> &items,
                                             const Scheme &scheme)
{
    QList<Failure> failures;
    int number = scheme.firstNumber;
    for (BrowserItem *item : items) {
        const QString path = item->getPath();
        const QString wanted = newNameForPath(path, scheme, number);
        ++number;
        if (const std::optional<QString> problem = problemWithName(wanted)) {
            failures.append({path, *problem});
            continue;
        }
        const QString folder = folderPrefixOf(path);
        if (folder + wanted == path)
            continue;

        // The wanted name first, then its "#" forms; each taken name (found now, or found
        // taken by the move itself) moves on to the next.
        const QString base = baseName(wanted);
        const QString ext = extension(wanted);
        QString finalName;
        QString reason;
        for (int suffix = 0; suffix <= MaxSuffix; ++suffix) {
            const QString candidate = suffix == 0 ? wanted
                                                  : QStringLiteral("%1#%2").arg(base).arg(suffix)
                    + (ext.isEmpty() ? QString() : QLatin1Char('.') + ext);
            if (folder + candidate == path) {
                finalName = candidate;
                break;
            }
            if (FileMoves::somethingAt(folder + candidate))
                continue;
            const FileMoves::Result result =
                FileMoves::moveWithoutReplacing(path, folder + candidate, &reason);
            if (result == FileMoves::Result::Moved) {
                finalName = candidate;
                break;
            }
            if (result == FileMoves::Result::Failed)
                break;
        }
        if (finalName.isEmpty()) {
            failures.append(
                {path, reason.isEmpty() ? localized("BrowserRenameNoFreeName") : reason});
            continue;
        }
        item->changeName(finalName);
    }
    return failures;
}
