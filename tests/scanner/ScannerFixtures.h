#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Builds application folders for the scanner tests.
namespace ScannerFixtures {

inline void makeFolder(const QString &path)
{
    QDir().mkpath(path);
}

inline void writeFile(const QString &path, const QByteArray &contents)
{
    makeFolder(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
}

// A desktop entry whose program exists; extra lines go into the [Desktop Entry] group.
inline void writeDesktopEntry(const QString &path, const QString &name,
                              const QByteArray &extraLines = {})
{
    writeFile(path,
              "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=true\n"
                  + extraLines);
}

} // namespace ScannerFixtures
