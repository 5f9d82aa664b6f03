#include "InstallRun.h"

#include "BoundedFile.h"
#include "InstallScript.h"
#include "InstallerSystem.h"
#include "KorvaleLog.h"
#include "QOR_StringUtils.h"
#include "platform/AutostartEntry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKeyTable(QLatin1String(key),
                                                          InstallScriptReader::Table);
}

bool exists(const QString &path)
{
    // A dangling symbolic link is still an item in the way.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

const QString BundleToken = QStringLiteral("@BUNDLE@");

} // namespace

QString displayNameOfPath(const QString &path)
{
    QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

InstallRun::InstallRun(InstallerSystem &system, InstallRunDelegate &delegate)
    : mSystem(system)
    , mDelegate(delegate)
{
}

void InstallRun::show(const QString &key, const QString &argument)
{
    show(key, QStringList{argument});
}

void InstallRun::show(const QString &key, const QStringList &arguments)
{
    // All at once: a "%1" inside a path must stay as it is.
    const QString format = localized(key.toLatin1().constData());
    const QString text = arguments.size() == 1 ? format.arg(arguments.at(0))
        : arguments.size() == 2
        ? format.arg(arguments.at(0), arguments.at(1))
        : format.arg(arguments.value(0), arguments.value(1), arguments.value(2));
    KorvaleLog::line(text);
    mDelegate.showProgressInfo(mCounter, text);
}

QString InstallRun::shownPath(const QString &path) const
{
    const QString &home = mPaths.homeFolder;
    if (!home.isEmpty() && home != QLatin1String("/")
        && (path == home || path.startsWith(home + QLatin1Char('/'))))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

void InstallRun::pause(int milliseconds) const
{
    if (mPauses)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QStringList InstallRun::actingSteps(const QStringList &steps)
{
    QStringList acting;
    for (const QString &step : steps) {
        if (step.startsWith(InstallScript::QuitTag) || step.startsWith(InstallScript::TrashTag)
            || step.startsWith(InstallScript::TrashNoErrTag)
            || step.startsWith(InstallScript::CopyTag))
            acting.append(step);
    }
    return acting;
}

bool InstallRun::run(const QStringList &allSteps)
{
    mMustStop = false;
    mStopped = false;
    mErrorMovingToDesktop = mErrorMovingToTrash = mErrorCopying = mErrorQuitProcess =
        mErrorLaunchApplication = false;

    // Only the steps that act are counted: a name or launch line would show a number with no
    // line beside it, and the list would seem to start part-way.
    const QStringList steps = actingSteps(allSteps);
    bool succeeded = true;
    for (qsizetype index = 0; index < steps.size(); ++index) {
        mCounter = QStringLiteral("%1/%2").arg(index + 1).arg(steps.size());
        mDelegate.displayProgress(mCounter);
        const QString &step = steps.at(index);
        const QStringList fields = step.split(QLatin1Char('\t'));
        const QString first = mPaths.expand(fields.value(1));
        if (step.startsWith(InstallScript::QuitTag)) {
            succeeded = quitApplication(first);
            pause(250);
        } else if (step.startsWith(InstallScript::TrashTag)) {
            moveItemToTrash(first);
            succeeded = true;
            pause(250);
        } else if (step.startsWith(InstallScript::TrashNoErrTag)) {
            succeeded = moveItemToTrash(first);
            pause(250);
        } else {
            succeeded = copyItemTo(mResourceFolder + QLatin1Char('/') + fields.value(1),
                                   mPaths.expand(fields.value(2)));
            pause(200);
        }
        if (!succeeded)
            break;
        if (mMustStop) {
            mStopped = index + 1 < steps.size();
            break;
        }
    }
    pause(1000);
    return !succeeded;
}

bool InstallRun::quitApplication(const QString &path)
{
    const QString name = displayNameOfPath(path);
    const QList<qint64> processes = mSystem.processesStartedFrom(path);
    if (processes.isEmpty()) {
        show(QStringLiteral("NoQuitProcess"), name);
        return true;
    }
    show(QStringLiteral("QuitProcess"), name);
    bool quit = true;
    for (const qint64 pid : processes)
        quit = mSystem.terminateProcess(pid) && quit;
    // Copying over a program that is still running would leave the old one running, so the run
    // waits for the quit to happen and calls a program that stays a failure.
    QElapsedTimer waited;
    waited.start();
    for (const qint64 pid : processes) {
        while (mSystem.isProcessRunning(pid) && waited.elapsed() < QuitWaitMilliseconds)
            QThread::msleep(20);
        quit = !mSystem.isProcessRunning(pid) && quit;
    }
    if (!quit) {
        mErrorQuitProcess = true;
        show(QStringLiteral("QuitProcessError"), name);
    }
    return quit;
}

void InstallRun::recycle(const QString &path)
{
    if (mSystem.moveToTrash(path))
        return;
    mErrorMovingToTrash = true;
    const QString onDesktop = freeDesktopName(QFileInfo(path).fileName());
    if (onDesktop.isEmpty() || !QDir().mkpath(mPaths.desktopFolder)
        || !moveToDesktop(path, onDesktop))
        mErrorMovingToDesktop = true;
}

QString InstallRun::freeDesktopName(const QString &fileName) const
{
    const QString folder = mPaths.desktopFolder + QLatin1Char('/');
    if (!exists(folder + fileName))
        return folder + fileName;
    // "NAME 2.desktop": the number before the extension, so the item keeps its kind.
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? fileName.left(dot) : fileName;
    const QString extension = dot > 0 ? fileName.mid(dot) : QString();
    for (int number = 2; number < 100; ++number) {
        const QString candidate =
            folder + base + QLatin1Char(' ') + QString::number(number) + extension;
        if (!exists(candidate))
            return candidate;
    }
    return {};
}

// Where a rename cannot do it, the item is copied, the copy checked, and only then the original
// removed; an original that will not go takes its copy back, so the item stays whole in one
// place. Where the data ends up anywhere else, a progress line says where.
bool InstallRun::moveToDesktop(const QString &path, const QString &onDesktop)
{
    if (mSystem.renameItem(path, onDesktop))
        return true;
    const QString name = displayNameOfPath(path);
    const auto takeCopyBack = [&] {
        if (exists(onDesktop) && !mSystem.removeItem(onDesktop))
            show(QStringLiteral("DesktopCopyLeft"), {name, onDesktop});
    };
    if (!mSystem.copyItem(path, onDesktop) || !InstallerSystem::sameItem(path, onDesktop)) {
        takeCopyBack();
        return false;
    }
    if (mSystem.removeItem(path) || !exists(path))
        return true;
    if (InstallerSystem::sameItem(path, onDesktop)) {
        takeCopyBack();
        return false;
    }
    // Part of the original went before its removal stopped: the whole item is the copy now.
    show(QStringLiteral("DesktopMoveSplit"), {name, onDesktop, path});
    return true;
}

bool InstallRun::moveItemToTrash(const QString &path)
{
    show(QStringLiteral("TrashItem"), shownPath(path));
    if (!exists(path))
        return true;
    if (!mSimulateTrashError)
        recycle(path);
    if (!exists(path))
        return true;

    pause(500);
    if (!mDelegate.askAboutRefusedItem(path)) {
        mErrorMovingToTrash = true;
        show(QStringLiteral("TrashItemError"), shownPath(path));
        return false;
    }
    // The user says the item is gone: believe it only when it is.
    if (!mSimulateTrashError && exists(path))
        return false;
    mErrorMovingToTrash = false;
    mErrorMovingToDesktop = false;
    return true;
}

bool InstallRun::copyItemTo(const QString &source, const QString &destinationFolder)
{
    const QString target = destinationFolder + QLatin1Char('/') + QFileInfo(source).fileName();
    // The whole name and where it goes: the bundle and its icon share a base name.
    show(QStringLiteral("CopyProcess"),
         {QFileInfo(source).fileName(), shownPath(destinationFolder)});
    if (mSimulateTrashError)
        return true;
    if (exists(target))
        recycle(target);
    // A step without its destination would copy into the root folder.
    if (!destinationFolder.isEmpty() && !exists(target) && exists(source)
        && QDir().mkpath(destinationFolder)) {
        const bool copied = source.endsWith(QLatin1String(".desktop"))
            ? installDesktopEntry(source, target)
            : mSystem.copyItem(source, target);
        if (copied && exists(target))
            return true;
    }
    show(QStringLiteral("CopyProcessError"), QFileInfo(source).fileName());
    mErrorCopying = true;
    return false;
}

// A desktop entry must name its program by an absolute path, which only the run knows: the
// entry's "@BUNDLE@" stands for the installed bundle, and Exec gets the desktop-entry quoting.
bool InstallRun::installDesktopEntry(const QString &source, const QString &target)
{
    const BoundedFile::Result input = BoundedFile::read(source, BoundedFile::Limit::DesktopEntry);
    BoundedFile::logFailure(source, input);
    if (!input.isRead())
        return false;
    QByteArray contents;
    const QByteArray bundle = mPaths.installedBundle.toUtf8();
    for (QByteArray line : input.bytes.split('\n')) {
        if (line.startsWith("Exec=" + BundleToken.toUtf8())) {
            const qsizetype space = line.indexOf(' ');
            const QByteArray program = line.mid(5, space < 0 ? -1 : space - 5);
            const QByteArray rest = space < 0 ? QByteArray() : line.mid(space);
            line = "Exec="
                + AutostartEntry::execValue(
                       QString::fromUtf8(program).replace(BundleToken, mPaths.installedBundle))
                + rest;
        } else {
            line.replace(BundleToken.toUtf8(), bundle);
        }
        contents += line + '\n';
    }
    contents.chop(1);
    QSaveFile output(target);
    return output.open(QIODevice::WriteOnly) && output.write(contents) == contents.size()
        && output.commit();
}

QString InstallRun::errorList() const
{
    const struct {
        bool raised;
        const char *key;
    } flags[] = {
        {mErrorMovingToDesktop, "ErrorMovingToDesktop"},
        {mErrorMovingToTrash, "ErrorMovingToTrash"},
        {mErrorCopying, "ErrorCopying"},
        {mErrorQuitProcess, "ErrorQuitProcess"},
        {mErrorLaunchApplication, "ErrorLaunchApplication"},
    };
    QString list;
    for (const auto &flag : flags) {
        if (flag.raised)
            list += QStringLiteral("• %1\n").arg(localized(flag.key));
    }
    return list;
}
