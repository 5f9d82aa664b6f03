#pragma once

#include <QString>
#include <QVariantList>

class DaemonClock;
class ListFile;
class DaemonHooks;
struct DaemonLists;
struct DaemonSchedule;
struct DaemonSettings;

// readData: rereads the data files that changed since the last reload, rebuilds the reminder
// list, merges the stock import file. The data folder is the shared one of CommonKorvaleClass.
class DataReload
{
public:
    DataReload(DaemonLists &lists, DaemonSchedule &schedule, const DaemonSettings &settings,
               const DaemonClock &clock, DaemonHooks &hooks);

    struct Outcome {
        bool reloaded = false; // false (and nothing touched) while a search runs
    };
    Outcome readData(bool searchThreadIsRunning);
    // "Applications.krvdata" again if it changed since the last reload (the manager saved what
    // the user attached); rebuilds the items with shortcuts when it was reread. True when reread.
    bool reloadApplications();

    // The modification date of a file in reference seconds; nullopt when it cannot be read.
    static std::optional<double> modificationDate(const QString &path);

private:
    // Rereads a list file unless it is known unchanged since the last reload; true when reread.
    bool reloadIfChanged(const QString &fileName, QVariantList &list, double lastReadData);
    // The same for a file the agent also writes: what is read becomes the base of its next save.
    bool reloadIfChanged(ListFile &file, QVariantList &list, double lastReadData);
    void readStocks();

    DaemonLists &mLists;
    DaemonSchedule &mSchedule;
    const DaemonSettings &mSettings;
    const DaemonClock &mClock;
    DaemonHooks &mHooks;
};
