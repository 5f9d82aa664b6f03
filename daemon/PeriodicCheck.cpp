#include "PeriodicCheck.h"

#include "CommonKorvaleClass.h"
#include "DataReload.h"

QString PeriodicCheck::defaultApplicationsFolder()
{
    return QStringLiteral("/usr/share/applications");
}

PeriodicCheck::Scan PeriodicCheck::chooseScan(bool &needToScanFoldersContents, double now) const
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
    const std::optional<double> folder = DataReload::modificationDate(mApplicationsFolder);
    if (folder && *folder - *applications > FolderChangeMargin)
        return Scan::Applications;
    return Scan::None;
}
