#pragma once

#include <QString>

#include <optional>

// When the periodic check scans, and when the timer brings it forward. The check alternates: one
// turn looks at the documents, the next at the applications; a list older than 12 hours is
// scanned again, and so is the applications list when the applications folder changed after it
// was written. A folder date ahead of the clock says nothing about a change: it is ignored until
// the clock passes it, and each change of the folder starts at most one scan.
class PeriodicCheck
{
public:
    enum class Scan { None, Documents, Applications };

    static constexpr double RescanAge = 43200.0;
    static constexpr double FolderChangeMargin = 10.0;
    // The timer looks at the folder's date every tenth tick.
    static constexpr unsigned FolderLookTicks = 10;

    // On Linux the folder watched like "/Applications" is /usr/share/applications.
    static QString defaultApplicationsFolder();

    explicit PeriodicCheck(QString applicationsFolder = defaultApplicationsFolder())
        : mApplicationsFolder(std::move(applicationsFolder))
    {
    }
    QString applicationsFolder() const { return mApplicationsFolder; }

    // Flips needToScanFoldersContents as the turn is taken.
    Scan chooseScan(bool &needToScanFoldersContents, double now);

    // Whether the folder changed less than 10 seconds ago and that change has not brought the
    // check forward yet.
    bool folderChangedRecently(double now);

private:
    // The folder's modification date, unless it is missing or later than now.
    std::optional<double> folderDate(double now) const;

    QString mApplicationsFolder;
    std::optional<double> mChangeBroughtForward;
    std::optional<double> mChangeScanned;
};
