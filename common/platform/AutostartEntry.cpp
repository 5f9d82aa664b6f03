#include "AutostartEntry.h"

#include "DesktopEntryReader.h"
#include "SessionPrograms.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString AutostartEntry::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart");
}

QList<AutostartEntry> AutostartEntry::readFolder(const QString &folder)
{
    QList<AutostartEntry> entries;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.desktop")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names)
        entries << read(dir.filePath(name));
    return entries;
}

AutostartEntry AutostartEntry::read(const QString &entryPath)
{
    return fromContents(DesktopEntryReader::readSmallFile(QFile::encodeName(entryPath)), entryPath);
}

AutostartEntry AutostartEntry::fromContents(const QByteArray &contents, const QString &entryPath)
{
    const DesktopEntryReader::MainGroup group = DesktopEntryReader::readMainGroup(contents, {});
    AutostartEntry entry;
    entry.entryPath = entryPath;
    if (!group.found)
        return entry;
    entry.program = QString::fromUtf8(DesktopEntryReader::execProgram(group.exec));
    entry.enabled = !group.hidden && group.autostartEnabled;
    entry.writtenByKorvale = group.writtenByKorvale;
    return entry;
}

QString AutostartEntry::entryFileName(const QString &program)
{
    const QString name = program.mid(program.lastIndexOf(QLatin1Char('/')) + 1);
    const SessionProgram agent = SessionProgram::daemon();
    return (name == agent.fileName ? agent.service : name) + QStringLiteral(".desktop");
}

QString AutostartEntry::olderEntryFileName(const QString &program)
{
    return program.mid(program.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral(".desktop");
}

QByteArray AutostartEntry::contentsFor(const QString &program)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Korvale\n"
           "Exec="
        + execValue(program)
        + "\n"
          "X-GNOME-Autostart-enabled=true\n"
          "X-Korvale-LoginItem=true\n";
}

QByteArray AutostartEntry::execValue(const QString &program)
{
    QByteArray quoted = "\"";
    for (const char c : program.toUtf8()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        else if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // The string escapes are undone before the quoting, so they are applied after it.
    QByteArray value;
    value.reserve(quoted.size());
    for (const char c : std::as_const(quoted)) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
            break;
        }
    }
    return value;
}
