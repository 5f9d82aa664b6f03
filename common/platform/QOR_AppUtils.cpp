#include "QOR_AppUtils.h"

#include "AtomicFile.h"
#include "AutostartEntry.h"
#include "KorvaleLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

// Where the entry's program is, as a login item names it; empty when it is not found.
QString resolvedProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    if (program.startsWith(QLatin1Char('/')))
        return QFileInfo::exists(program) ? program : QString();
    // The session starts entries without a working folder of their own: only a bare name,
    // found in PATH, means something.
    if (program.contains(QLatin1Char('/')))
        return {};
    return QStandardPaths::findExecutable(program);
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QList<LoginItem> QOR_AppUtils::loginItems()
{
    QList<LoginItem> items;
    for (const AutostartEntry &entry : AutostartEntry::readFolder(AutostartEntry::folder())) {
        if (!entry.enabled)
            continue;
        const QString path = resolvedProgram(entry.program);
        if (!path.isEmpty())
            items << LoginItem{path, fileNameOf(path), entry.entryPath, entry.writtenByKorvale};
    }
    return items;
}

bool QOR_AppUtils::isInLoginItems(const QString &path)
{
    const QList<LoginItem> items = loginItems();
    return std::any_of(items.cbegin(), items.cend(),
                       [&path](const LoginItem &item) { return item.path == path; });
}

QStringList QOR_AppUtils::extraOccurencesInLoginItems(const QString &path)
{
    const QString name = fileNameOf(path);
    QStringList others;
    for (const LoginItem &item : loginItems()) {
        if (item.bundleName == name && item.path != path)
            others << item.path;
    }
    return others;
}

void QOR_AppUtils::renameOlderEntry(const QString &path)
{
    const QString older = AutostartEntry::olderEntryFileName(path);
    const QString current = AutostartEntry::entryFileName(path);
    if (fileNameOf(path).isEmpty() || older == current)
        return;
    const QString folder = AutostartEntry::folder() + QLatin1Char('/');
    const AutostartEntry entry = AutostartEntry::read(folder + older);
    if (!entry.writtenByKorvale)
        return;
    if (!QFileInfo::exists(folder + current)) {
        QByteArray contents = AutostartEntry::contentsFor(entry.program);
        if (!entry.enabled)
            contents.replace("X-GNOME-Autostart-enabled=true", "X-GNOME-Autostart-enabled=false");
        QString error;
        if (!AtomicFile::write(folder + current, contents, &error)) {
            KorvaleLog::line(
                QStringLiteral("Unable renaming the login item %1: %2").arg(folder + older, error));
            return;
        }
    }
    if (!QFile::remove(folder + older))
        KorvaleLog::line(
            QStringLiteral("Unable removing the older login item %1").arg(folder + older));
}

bool QOR_AppUtils::addToLoginItems(const QString &path, bool hideOnLaunch)
{
    Q_UNUSED(hideOnLaunch)
    renameOlderEntry(path);
    if (fileNameOf(path).isEmpty() || isInLoginItems(path))
        return false;
    const QString entryPath =
        AutostartEntry::folder() + QLatin1Char('/') + AutostartEntry::entryFileName(path);
    if (QFileInfo(entryPath).exists()) {
        if (!AutostartEntry::read(entryPath).writtenByKorvale) {
            KorvaleLog::line(QStringLiteral("Unable adding %1 to the login items: %2 belongs to "
                                            "another program")
                                 .arg(path, entryPath));
            return false;
        }
    }
    QString error;
    if (!AtomicFile::write(entryPath, AutostartEntry::contentsFor(path), &error)) {
        KorvaleLog::line(
            QStringLiteral("Unable adding %1 to the login items: %2").arg(path, error));
        return false;
    }
    return true;
}

void QOR_AppUtils::removeFromLoginItems(const QString &path)
{
    for (const AutostartEntry &entry : AutostartEntry::readFolder(AutostartEntry::folder())) {
        if (!entry.writtenByKorvale || entry.program != path)
            continue;
        if (!QFile::remove(entry.entryPath))
            KorvaleLog::line(QStringLiteral("Unable removing %1 from the login items: %2")
                                 .arg(path, entry.entryPath));
        return;
    }
}

QString QOR_AppUtils::otherCopyOfAgent(const QString &agentPath, const QString &runningExecutable)
{
    if (runningExecutable.isEmpty())
        return {};
    // The kernel names a running executable with every link resolved.
    if (runningExecutable == QDir::cleanPath(agentPath)
        || runningExecutable == QFileInfo(agentPath).canonicalFilePath())
        return {};
    // PREFIX/bin/korvale-daemon: the copy is PREFIX.
    return QFileInfo(QFileInfo(runningExecutable).path()).path();
}
