#include "SaveFailure.h"

#include "CommonKorvaleClass.h"
#include "QOR_StringUtils.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

} // namespace

SaveFailure SaveFailure::fromErrno(int errorNumber, const QString &detail)
{
    SaveFailure failure;
    switch (errorNumber) {
    case 0:
        failure.reason = Reason::Other;
        break;
    case ENOSPC:
    case EDQUOT:
        failure.reason = Reason::DiskFull;
        break;
    case EROFS:
        failure.reason = Reason::ReadOnly;
        break;
    case EACCES:
    case EPERM:
        failure.reason = Reason::Permission;
        break;
    case EWOULDBLOCK:
        failure.reason = Reason::Busy;
        break;
    default:
        failure.reason = Reason::Other;
    }
    failure.detail = detail.isEmpty() && errorNumber != 0
        ? QString::fromLocal8Bit(std::strerror(errorNumber))
        : detail;
    return failure;
}

SaveFailure SaveFailure::notAFile(const QString &what)
{
    SaveFailure failure;
    failure.reason = Reason::NotAFile;
    failure.detail = what;
    return failure;
}

QString SaveFailure::reasonText() const
{
    switch (reason) {
    case Reason::None:
        return {};
    case Reason::DiskFull:
        return localized("SaveFailedDiskFull");
    case Reason::ReadOnly:
        return localized("SaveFailedReadOnly");
    case Reason::Permission:
        return localized("SaveFailedPermission");
    case Reason::Busy:
        return localized("SaveFailedBusy");
    case Reason::NotAFile:
        return localized("SaveFailedNotAFile").arg(detail);
    case Reason::Other:
        break;
    }
    return localized("SaveFailedOther").arg(detail);
}

QString SaveFailure::title(const QString &fileName) const
{
    return localized("SaveFailedTitle").arg(listDisplayName(fileName));
}

QString SaveFailure::text() const
{
    return reasonText() + QLatin1Char(' ') + localized("SaveFailedKept");
}

QString listDisplayName(const QString &fileName)
{
    static const struct {
        const QString &file;
        const char *key;
    } names[] = {
        {DataFileName::Applications, "ListNameApplications"},
        {DataFileName::Documents, "ListNameDocuments"},
        {DataFileName::Notes, "ListNameNotes"},
        {DataFileName::ProtectedNotes, "ListNameProtectedNotes"},
        {DataFileName::Clipboard, "ListNameClipboard"},
        {DataFileName::ToDo, "ListNameToDo"},
        {DataFileName::Reminder, "ListNameReminder"},
        {DataFileName::StocksSurvey, "ListNameStocks"},
        {DataFileName::ApplicationsUse, "ListNameApplicationsUse"},
    };
    const QString name = QFileInfo(fileName).fileName();
    for (const auto &entry : names) {
        if (entry.file == name)
            return localized(entry.key);
    }
    if (name == QLatin1String("preferences.cbor"))
        return localized("ListNamePreferences");
    return name;
}
