#pragma once

#include "InstallRun.h"
#include "InstallerSystem.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// A resource folder like the one the build makes, with the project's own script and desktop
// entries around a small product bundle of the given version.
inline QString makeResourceFolder(const QString &folder, const QString &version)
{
    const QString source = QStringLiteral(KORVALE_SOURCE_DIR);
    // The progress lines are formatted texts; without the tables they would be bare keys.
    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
    QDir().mkpath(folder + QStringLiteral("/korvale/bin"));
    QDir().mkpath(folder + QStringLiteral("/korvale/share/korvale"));
    QDir().mkpath(folder + QStringLiteral("/applications"));
    QDir().mkpath(folder + QStringLiteral("/autostart"));
    QFile::copy(source + QStringLiteral("/packaging/installscript.txt"),
                folder + QStringLiteral("/installscript.txt"));
    QFile::copy(source + QStringLiteral("/manager/korvale.svg"),
                folder + QStringLiteral("/korvale.svg"));
    const auto write = [&folder](const QString &name, const QByteArray &contents) {
        QFile file(folder + QLatin1Char('/') + name);
        file.open(QIODevice::WriteOnly);
        file.write(contents);
    };
    write(QStringLiteral("korvale/share/korvale/version"), version.toUtf8() + '\n');
    for (const char *program : {"korvale-daemon", "korvale-manager", "korvale-browser"}) {
        // A program that waits for its end, run under the program's own name and path.
        QFile::copy(QStringLiteral("/bin/sleep"),
                    folder + QStringLiteral("/korvale/bin/") + QLatin1String(program));
    }
    const struct {
        const char *entry;
        const char *destination;
    } entries[] = {{"korvale-manager", "applications"},
                   {"korvale-browser", "applications"},
                   {"org.korvale.Daemon", "applications"},
                   {"org.korvale.Daemon", "autostart"}};
    for (const auto &entry : entries) {
        QFile in(source + QStringLiteral("/packaging/") + QLatin1String(entry.entry)
                 + QStringLiteral(".desktop.in"));
        in.open(QIODevice::ReadOnly);
        write(QLatin1String(entry.destination) + QLatin1Char('/') + QLatin1String(entry.entry)
                  + QStringLiteral(".desktop"),
              in.readAll().replace("%BINDIR%", "@BUNDLE@/bin/"));
    }
    for (const char *file : {"gnome-shell/search-providers/korvale-search-provider.ini",
                             "krunner/dbusplugins/korvale-runner.desktop"}) {
        const QString name = QLatin1String(file);
        QDir().mkpath(folder + QLatin1Char('/') + QFileInfo(name).path());
        QFile::copy(source + QStringLiteral("/packaging/") + QFileInfo(name).fileName(),
                    folder + QLatin1Char('/') + name);
    }
    return folder;
}

// Plays the window's part: records the progress lines and answers the questions.
class RecordingDelegate : public InstallRunDelegate
{
public:
    QStringList counters;
    QStringList lines;
    QStringList askedAbout;
    std::function<bool(const QString &)> answer = [](const QString &) { return false; };
    std::function<void(const QString &)> onProgress = [](const QString &) {};

    void displayProgress(const QString &counter) override
    {
        counters.append(counter);
        onProgress(counter);
    }
    void showProgressInfo(const QString &counter, const QString &text) override
    {
        lines.append(counter + QStringLiteral(" - ") + text);
    }
    bool askAboutRefusedItem(const QString &path) override
    {
        askedAbout.append(path);
        return answer(path);
    }
};

// A machine whose Trash, and optionally the move to the desktop, refuse everything.
class RefusingSystem : public InstallerSystem
{
public:
    bool refuseMoves = true;
    bool moveToTrash(const QString &) override { return false; }
    bool renameItem(const QString &from, const QString &to) override
    {
        return !refuseMoves && InstallerSystem::renameItem(from, to);
    }
    bool copyItem(const QString &from, const QString &to) override
    {
        return !refuseMoves && InstallerSystem::copyItem(from, to);
    }
};

// The Trash refuses, the desktop lies on another file system (no rename), and what lies outside
// the desktop cannot be removed, as in a read-only folder, whoever runs the test. With
// `removesOneFileFirst`, a removal takes one file before it fails.
class StuckOriginalSystem : public InstallerSystem
{
public:
    QString desktop;
    bool removesOneFileFirst = false;
    QStringList removalsRefused;

    bool moveToTrash(const QString &) override { return false; }
    bool renameItem(const QString &, const QString &) override { return false; }
    bool removeItem(const QString &path) override
    {
        if (path.startsWith(desktop + QLatin1Char('/')))
            return InstallerSystem::removeItem(path);
        removalsRefused.append(path);
        if (removesOneFileFirst) {
            QDirIterator files(path, QDir::Files, QDirIterator::Subdirectories);
            if (files.hasNext())
                QFile::remove(files.next());
        }
        return false;
    }
};
