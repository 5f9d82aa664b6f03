#pragma once

#include <QString>

// Which scan the periodic check starts. The check alternates: one turn looks at the documents,
// the next at the applications; a list older than 12 hours is scanned again, and so is the
// applications list when the applications folder changed after it was written.
class PeriodicCheck
{
public:
    enum class Scan { None, Documents, Applications };

    static constexpr double RescanAge = 43200.0;
    static constexpr double FolderChangeMargin = 10.0;

    // On Linux the folder watched like "/Applications" is /usr/share/applications.
    static QString defaultApplicationsFolder();

    explicit PeriodicCheck(QString applicationsFolder = defaultApplicationsFolder())
        : mApplicationsFolder(std::move(applicationsFolder))
    {
    }
    QString applicationsFolder() const { return mApplicationsFolder; }

    // Flips needToScanFoldersContents as the turn is taken.
    Scan chooseScan(bool &needToScanFoldersContents, double now) const;

private:
    QString mApplicationsFolder;
};
