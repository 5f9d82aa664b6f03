#include "QOR_FilesUtils.h"

#include "AtomicFile.h"
#include "BoundedFile.h"
#include "DesktopEntryReader.h"
#include "KorvaleLog.h"
#include "platform/MountTable.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

const QString QOR_FilesUtils::BundlePathKey = QStringLiteral("BundlePath");
const QString QOR_FilesUtils::PIDKey = QStringLiteral("PID");
const QString QOR_FilesUtils::NameKey = QStringLiteral("Name");
const QString QOR_FilesUtils::ExecutableKey = QStringLiteral("Executable");

namespace {

const QString HiddenListName = QStringLiteral(".hidden");

bool statNoFollow(const QString &path, struct stat &st)
{
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

int statusFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QOR_FilesUtils::StatusFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return QOR_FilesUtils::StatusPermissionDenied;
    default:
        return QOR_FilesUtils::StatusIOError;
    }
}

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path
                                                      : QDir::current().absoluteFilePath(path));
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// The last extension, as a file manager shows it: ".bashrc" has none.
QString removeExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1) : QString();
}

// The lines of a folder's ".hidden" file as the file managers read them: one name per line.
QList<QByteArray> hiddenListLines(const QString &folder)
{
    const BoundedFile::Result read = BoundedFile::read(folder + QLatin1Char('/') + HiddenListName,
                                                       BoundedFile::Limit::HiddenList);
    if (!read.isRead())
        return {};
    QList<QByteArray> lines = read.bytes.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

bool isListedAsHidden(const QString &folder, const QString &name)
{
    return hiddenListLines(folder).contains(QFile::encodeName(name));
}

int writeHiddenList(const QString &folder, const QList<QByteArray> &lines)
{
    const QString listPath = folder + QLatin1Char('/') + HiddenListName;
    QByteArray text;
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            text += line + '\n';
    }
    if (text.isEmpty()) {
        if (QFile::remove(listPath) || !QFileInfo::exists(listPath))
            return QOR_FilesUtils::StatusOK;
        return QOR_FilesUtils::StatusPermissionDenied;
    }
    const bool existed = QFileInfo::exists(listPath);
    if (!AtomicFile::write(listPath, text)) {
        return ::access(QFile::encodeName(folder).constData(), W_OK) != 0
            ? QOR_FilesUtils::StatusPermissionDenied
            : QOR_FilesUtils::StatusIOError;
    }
    // The list is read by every file manager, not a private data file.
    if (!existed)
        ::chmod(QFile::encodeName(listPath).constData(), 0644);
    return QOR_FilesUtils::StatusOK;
}

QVariantMap dictionaryOf(const ProcessInfo &process)
{
    return {{QOR_FilesUtils::BundlePathKey, process.bundlePath},
            {QOR_FilesUtils::PIDKey, process.pid},
            {QOR_FilesUtils::NameKey, process.name},
            {QOR_FilesUtils::ExecutableKey, process.executable}};
}

QList<ProcessInfo> launchedProcesses(const ProcessTable &table)
{
    QList<ProcessInfo> launched = table.processes();
    launched.removeIf([](const ProcessInfo &process) { return process.bundlePath.isEmpty(); });
    return launched;
}

void logProcessFailure(const QString &tool, const QStringList &args, QProcess::ProcessError error,
                       const QString &reason)
{
    const char *name = QMetaEnum::fromType<QProcess::ProcessError>().valueToKey(error);
    KorvaleLog::line(
        QStringLiteral("Exception %1 %2: %3: %4")
            .arg(tool, args.value(0), QString::fromLatin1(name ? name : "Unknown"), reason));
}

} // namespace

bool QOR_FilesUtils::createStandardFolder(const QString &path)
{
    struct stat st;
    if (statNoFollow(path, st)) {
        if (isLocked(path))
            setLockedLocked(path, false);
        return true;
    }
    if (isRootOfVolume(path))
        return false;

    // Create level by level so that each new folder gets the private mode.
    const QString absolute = absoluteClean(path);
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (const QString &part : parts) {
        current += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(current);
        if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(absolute).isDir();
}

bool QOR_FilesUtils::isRootOfVolume(const QString &path)
{
    if (path.isEmpty() || path == QLatin1String("/"))
        return true;
    const QString clean = absoluteClean(path);
    if (clean == QLatin1String("/"))
        return true;
    const QList<MountTable::Mount> mounts = MountTable::realFileSystems();
    return std::any_of(mounts.cbegin(), mounts.cend(), [&clean](const MountTable::Mount &mount) {
        return mount.mountPoint == clean;
    });
}

bool QOR_FilesUtils::isLocked(const QString &path)
{
    struct stat st;
    if (!statNoFollow(path, st))
        return false;
    return (st.st_mode & S_IWUSR) == 0;
}

int QOR_FilesUtils::setLockedLocked(const QString &path, bool locked)
{
    struct stat st;
    if (!statNoFollow(path, st))
        return StatusFileNotFound;
    if (S_ISLNK(st.st_mode))
        return StatusOK; // links carry no permissions of their own on Linux
    const bool isLockedNow = (st.st_mode & S_IWUSR) == 0;
    if (isLockedNow == locked)
        return StatusOK;
    const mode_t mode = locked ? (st.st_mode & ~S_IWUSR) : (st.st_mode | S_IWUSR);
    if (::chmod(QFile::encodeName(path).constData(), mode & 07777) != 0)
        return statusFromErrno(errno);
    return StatusOK;
}

bool QOR_FilesUtils::isVisible(const QString &path)
{
    struct stat st;
    if (!statNoFollow(path, st))
        return true;
    const QString clean = absoluteClean(path);
    const QString name = fileNameOf(clean);
    if (name.isEmpty())
        return true;
    if (name.startsWith(QLatin1Char('.')))
        return false;
    return !isListedAsHidden(clean.left(clean.size() - name.size()), name);
}

int QOR_FilesUtils::setVisibleVisible(const QString &path, bool visible)
{
    struct stat st;
    if (!statNoFollow(path, st))
        return StatusFileNotFound;
    if (isVisible(path) == visible)
        return StatusOK;
    const QString clean = absoluteClean(path);
    const QString name = fileNameOf(clean);
    const QString folder = clean.left(clean.size() - name.size());
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('\n')))
        return StatusBadName;

    QList<QByteArray> lines = hiddenListLines(folder);
    const QByteArray entry = QFile::encodeName(name);
    if (visible)
        lines.removeAll(entry);
    else
        lines.append(entry);
    return writeHiddenList(folder, lines);
}

bool QOR_FilesUtils::isApplication(const QString &path)
{
    if (extensionOf(fileNameOf(QDir::cleanPath(path))).toLower() == QLatin1String("app"))
        return true;
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (extensionOf(fileNameOf(path)) == QLatin1String("desktop"))
        return DesktopEntryReader::isApplicationAtPath(path);
    return ::access(native.constData(), X_OK) == 0;
}

QStringList QOR_FilesUtils::getListOfLaunchedProcess(const ProcessTable &table)
{
    QStringList paths;
    for (const ProcessInfo &process : launchedProcesses(table))
        paths.append(process.bundlePath);
    return paths;
}

QList<QVariantMap> QOR_FilesUtils::getListOfLaunchedProcessDictionary(const ProcessTable &table)
{
    QList<QVariantMap> dictionaries;
    for (const ProcessInfo &process : launchedProcesses(table))
        dictionaries.append(dictionaryOf(process));
    return dictionaries;
}

std::optional<QVariantMap> QOR_FilesUtils::getProcessInformationWithPath(const QString &bundlePath,
                                                                         const ProcessTable &table)
{
    for (const ProcessInfo &process : launchedProcesses(table)) {
        if (process.bundlePath == bundlePath)
            return dictionaryOf(process);
    }
    return std::nullopt;
}

bool QOR_FilesUtils::isProcessLaunchedWithPath(const QString &bundlePath, const ProcessTable &table)
{
    return getProcessInformationWithPath(bundlePath, table).has_value();
}

int QOR_FilesUtils::numberOfProcessesLaunchedWithName(const QString &name,
                                                      const ProcessTable &table)
{
    const QString wanted = removeExtension(name);
    int count = 0;
    for (const ProcessInfo &process : launchedProcesses(table)) {
        const QString stem = removeExtension(fileNameOf(process.bundlePath));
        if (stem == wanted || stem == name)
            ++count;
    }
    return count;
}

bool QOR_FilesUtils::isProcessLaunchedWithName(const QString &name, const ProcessTable &table)
{
    return numberOfProcessesLaunchedWithName(name, table) > 0;
}

std::optional<QStringList> QOR_FilesUtils::sortedContentsOfDirectoryAtPath(const QString &path)
{
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return std::nullopt;
    QStringList names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(QFile::decodeName(name));
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

std::optional<QString> QOR_FilesUtils::executeWithArgs(const QString &tool, const QStringList &args)
{
    if (args.isEmpty())
        return std::nullopt;
    // The name must stay a name: "../" would leave /usr/bin.
    if (tool.isEmpty() || tool.contains(QLatin1Char('/')) || tool == QLatin1String("..")
        || tool == QLatin1String("."))
        return std::nullopt;
    const QString program = QStringLiteral("/usr/bin/") + tool;
    if (!QFileInfo::exists(program))
        return std::nullopt;

    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    // A tool that reads its input must not wait on ours.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
    if (!process.waitForStarted(-1)) {
        logProcessFailure(tool, args, process.error(), process.errorString());
        return std::nullopt;
    }
    process.waitForFinished(-1);
    // Output cut short by a crash is not the tool's answer.
    if (process.exitStatus() == QProcess::CrashExit) {
        logProcessFailure(tool, args, QProcess::Crashed, process.errorString());
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}
