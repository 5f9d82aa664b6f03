#include "BoundedFile.h"
#include "GioLibrary.h"
#include "KorvaleLog.h"
#include "LaunchActivation.h"
#include "NativeFileName.h"
#include "ProcessTable.h"
#include "Workspace.h"
#include "X11Windows.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>

namespace {

const QString FileManagerService = QStringLiteral("org.freedesktop.FileManager1");

// GIO starts the program with this process's environment and the context's changes: the
// agent's own variables go, the leave to take the focus comes. On X11 a startup identifier goes
// only to an entry that says it completes the sequence (StartupNotify); a Wayland token to all.
GAppLaunchContext *launchContext(const GioLibrary &gio, const LaunchActivation &activation,
                                 bool completesStartup)
{
    GAppLaunchContext *context = gio.g_app_launch_context_new();
    for (const QString &name :
         LaunchActivation::agentVariables(QProcessEnvironment::systemEnvironment()))
        gio.g_app_launch_context_unsetenv(context, name.toLocal8Bit().constData());
    const bool wayland = !activation.activationToken().isEmpty();
    if (wayland)
        gio.g_app_launch_context_setenv(context, "XDG_ACTIVATION_TOKEN",
                                        activation.activationToken().constData());
    if (!activation.startupId().isEmpty() && (completesStartup || wayland))
        gio.g_app_launch_context_setenv(context, "DESKTOP_STARTUP_ID",
                                        activation.startupId().constData());
    return context;
}

void logLaunchFailure(const QString &path, const QString &reason)
{
    KorvaleLog::line(QStringLiteral("Unable launching application %1: %2").arg(path, reason));
}

bool launchDesktopEntry(const QString &path)
{
    const QByteArray nativePath = path.toLocal8Bit();
    // GIO opens whatever it is given, and would wait on a FIFO for good.
    if (!BoundedFile::isRegularFile(nativePath)) {
        logLaunchFailure(path, QStringLiteral("not a launchable desktop entry"));
        return false;
    }
    QString why;
    const GioLibrary *gio = GioLibrary::get(&why);
    if (!gio) {
        logLaunchFailure(path, why);
        return false;
    }
    GDesktopAppInfo *info = gio->g_desktop_app_info_new_from_filename(nativePath.constData());
    if (!info) {
        logLaunchFailure(path, QStringLiteral("not a launchable desktop entry"));
        return false;
    }
    // The compositor is told which application the token is for: the entry's id.
    const LaunchActivation activation =
        LaunchActivation::forLaunch("launch", QFileInfo(path).completeBaseName());
    GAppLaunchContext *context = launchContext(
        *gio, activation,
        gio->g_desktop_app_info_get_boolean(info, G_KEY_FILE_DESKTOP_KEY_STARTUP_NOTIFY));
    GError *error = nullptr;
    const bool launched =
        gio->g_app_info_launch_uris(GioLibrary::appInfo(info), nullptr, context, &error);
    if (!launched) {
        logLaunchFailure(path, error ? QString::fromUtf8(error->message) : QString());
    }
    if (error)
        gio->g_error_free(error);
    gio->g_object_unref(context);
    gio->g_object_unref(info);
    return launched;
}

// The program inside a ".app" folder: the macOS layout, an AppDir's AppRun, or a program named
// like the folder.
QString bundleExecutable(const QString &path)
{
    const QString base = QFileInfo(path).completeBaseName();
    const QStringList candidates = {path + QStringLiteral("/Contents/MacOS/") + base,
                                    path + QStringLiteral("/AppRun"),
                                    path + QLatin1Char('/') + base};
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return candidate;
    }
    return {};
}

// The default application of the file's type, through GIO as the file managers do: unlike
// handing the file to xdg-open, this knows whether an application was found and started.
bool openWithDefaultApplication(const QString &path)
{
    QString why;
    const GioLibrary *gio = GioLibrary::get(&why);
    if (!gio) {
        KorvaleLog::line(
            QStringLiteral("Unable opening %1 with its default application: %2").arg(path, why));
        return false;
    }
    const QByteArray uri = NativeFileName::fileUri(path);
    GAppLaunchContext *context = launchContext(*gio, LaunchActivation::forLaunch("open"), true);
    GError *error = nullptr;
    const bool opened = gio->g_app_info_launch_default_for_uri(uri.constData(), context, &error);
    if (!opened) {
        KorvaleLog::line(QStringLiteral("Unable opening %1 with its default application: %2")
                             .arg(path, error ? QString::fromUtf8(error->message) : QString()));
    }
    if (error)
        gio->g_error_free(error);
    gio->g_object_unref(context);
    return opened;
}

// A web, mail or file address, through the default application of its scheme or type as GIO
// finds it, so that the program gets the leave to take the focus; where GIO finds none, xdg-open
// (it knows the desktop's own fallbacks, $BROWSER among them) started with that leave too. Qt's
// own launcher passes neither, and hands on the agent's variables.
bool openAddress(const QUrl &url)
{
    const QByteArray uri = url.toEncoded();
    const LaunchActivation activation = LaunchActivation::forLaunch("open");
    QString why;
    if (const GioLibrary *gio = GioLibrary::get(&why)) {
        GAppLaunchContext *context = launchContext(*gio, activation, true);
        GError *error = nullptr;
        const bool opened =
            gio->g_app_info_launch_default_for_uri(uri.constData(), context, &error);
        why = error ? QString::fromUtf8(error->message) : QString();
        if (error)
            gio->g_error_free(error);
        gio->g_object_unref(context);
        if (opened)
            return true;
    }
    QProcess process;
    process.setProgram(QStringLiteral("xdg-open"));
    process.setArguments({QString::fromLatin1(uri)});
    process.setWorkingDirectory(QDir::homePath());
    process.setProcessEnvironment(activation.environment());
    if (process.startDetached())
        return true;
    KorvaleLog::line(QStringLiteral("Unable opening %1: %2; xdg-open did not start")
                         .arg(QString::fromLatin1(uri), why));
    return false;
}

bool startProgram(const QString &program)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QDir::homePath());
    process.setProcessEnvironment(LaunchActivation::forLaunch("launch").environment());
    if (!process.startDetached()) {
        logLaunchFailure(program, QStringLiteral("the program did not start"));
        return false;
    }
    return true;
}

class LinuxWorkspace final : public Workspace
{
public:
    bool launchApplication(const QString &path) override
    {
        const QFileInfo info(path);
        if (!info.exists()) {
            logLaunchFailure(path, QStringLiteral("nothing at that path"));
            return false;
        }
        if (info.isFile() && path.endsWith(QLatin1String(".desktop")))
            return launchDesktopEntry(path);
        if (info.isDir()) {
            const QString program = bundleExecutable(path);
            if (program.isEmpty()) {
                logLaunchFailure(path, QStringLiteral("no program in the folder"));
                return false;
            }
            return startProgram(program);
        }
        if (info.isExecutable())
            return startProgram(path);
        logLaunchFailure(path, QStringLiteral("not a program"));
        return false;
    }

    bool openPath(const QString &path) override
    {
        if (!NativeFileName::exists(path))
            return false;
        return openWithDefaultApplication(path);
    }

    bool openUrl(const QUrl &url) override
    {
        if (!url.isValid() || url.isEmpty())
            return false;
        return openAddress(url);
    }

    bool revealPath(const QString &path) override
    {
        if (!NativeFileName::exists(path))
            return false;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected() && bus.interface()
            && (bus.interface()->isServiceRegistered(FileManagerService)
                || bus.interface()->activatableServiceNames().value().contains(
                    FileManagerService))) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                FileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                FileManagerService, QStringLiteral("ShowItems"));
            // The file manager takes a Wayland token there as well as an X11 identifier.
            call << QStringList{QString::fromLatin1(NativeFileName::fileUri(path))}
                 << QString::fromLatin1(LaunchActivation::forLaunch("reveal").startupId());
            if (bus.send(call))
                return true;
        }
        return openPath(QFileInfo(path).absolutePath());
    }

    QList<WorkspaceProcess> runningProcesses() override
    {
        QList<WorkspaceProcess> processes;
        for (const ProcessInfo &process : ProcessTable::system().processes())
            processes.append({process.pid, process.bundlePath});
        return processes;
    }

    bool canBringToFront(QString *reason) override
    {
        return X11Windows::canActivateWindows(reason);
    }

    bool bringProcessToFront(qint64 pid) override
    {
        return X11Windows::activateWindowOfProcess(pid);
    }

    int hideOtherApplications(const QList<qint64> &keptProcesses) override
    {
        QList<qint64> kept = keptProcesses;
        kept.append(QCoreApplication::applicationPid());
        const int minimized = X11Windows::minimizeWindowsExcept(kept);
        if (minimized < 0)
            KorvaleLog::line(QStringLiteral("Unable hiding the other applications: no X display"));
        return minimized;
    }

    std::optional<WorkspaceProcess> frontApplication() override
    {
        const std::optional<qint64> pid = X11Windows::activeWindowProcess();
        if (!pid)
            return std::nullopt;
        for (const ProcessInfo &process : ProcessTable::system().processes()) {
            if (process.pid == *pid)
                return WorkspaceProcess{process.pid, process.bundlePath};
        }
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<Workspace> Workspace::createLinux()
{
    return std::make_unique<LinuxWorkspace>();
}
