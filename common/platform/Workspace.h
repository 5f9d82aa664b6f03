#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

// A running process as the workspace sees it: its bundle path is the desktop entry that launched
// it, or else its executable.
struct WorkspaceProcess {
    qint64 pid = 0;
    QString bundlePath;
};

// Launching, opening and revealing items, the running applications and the front one.
// Launching, opening and revealing belong to the main thread; the process and window queries
// (runningProcesses, canBringToFront, bringProcessToFront, frontApplication) may be called from
// any thread.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // Starts the application of an application record's path: a desktop entry, a ".app" folder
    // or a program. False (and one log line) when nothing could be started.
    virtual bool launchApplication(const QString &path) = 0;
    // Opens a file or folder with the user's default application; false (and one log line) when
    // no application opens it or it did not start.
    virtual bool openPath(const QString &path) = 0;
    // Opens an address with the user's default handler.
    virtual bool openUrl(const QUrl &url) = 0;
    // Shows the item selected in the file manager, or else opens the folder holding it.
    virtual bool revealPath(const QString &path) = 0;

    virtual QList<WorkspaceProcess> runningProcesses() = 0;
    // Whether windows can be brought to the front here; otherwise why not.
    virtual bool canBringToFront(QString *reason = nullptr) = 0;
    // Activates a window of the process; false when it has none (yet) or it cannot be done.
    virtual bool bringProcessToFront(qint64 pid) = 0;
    // The process owning the active window.
    virtual std::optional<WorkspaceProcess> frontApplication() = 0;
    // Minimises the windows of the other applications: every process but this one and the kept
    // ones. The number of windows minimised, or -1 (and one log line) when it cannot be done.
    virtual int hideOtherApplications(const QList<qint64> &keptProcesses) = 0;

    // The desktop session's workspace: GIO, D-Bus, /proc and the X display.
    static std::unique_ptr<Workspace> createLinux();
};
