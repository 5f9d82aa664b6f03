#include "PeriodicCheck.h"

#include "CommonKorvaleClass.h"
#include "DataReload.h"

QString PeriodicCheck::defaultApplicationsFolder()
{
    return QStringLiteral("/usr/share/applications");
}

std::optional<double> PeriodicCheck::folderDate(double now) const
{
    const std::optional<double> date = DataReload::modificationDate(mApplicationsFolder);
    if (!date || *date > now)
        return std::nullopt;
    return date;
}

PeriodicCheck::Scan PeriodicCheck::chooseScan(bool &needToScanFoldersContents, double now)
{
    const auto dataFileDate = [](const QString &name) {
        return DataReload::modificationDate(
            CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(name));
    };
    if (needToScanFoldersContents) {
        needToScanFoldersContents = false;
        const std::optional<double> documents = dataFileDate(DataFileName::Documents);
        if (!documents || now - *documents > RescanAge)
            return Scan::Documents;
        return Scan::None;
    }
    needToScanFoldersContents = true;
    const std::optional<double> applications = dataFileDate(DataFileName::Applications);
    if (!applications || now - *applications > RescanAge)
        return Scan::Applications;
    // A scan that finds nothing new leaves the list file with its old date: without remembering
    // the change it answered, every later check would scan again.
    const std::optional<double> folder = folderDate(now);
    if (folder && *folder - *applications > FolderChangeMargin && folder != mChangeScanned) {
        mChangeScanned = folder;
        return Scan::Applications;
    }
    return Scan::None;
}

bool PeriodicCheck::folderChangedRecently(double now)
{
    const std::optional<double> folder = folderDate(now);
    if (!folder || now - *folder >= FolderChangeMargin || folder == mChangeBroughtForward)
        return false;
    mChangeBroughtForward = folder;
    return true;
}
