#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// An entry of the user's XDG autostart folder as the login items see it: the program it starts
// and whether the suite wrote it. The suite writes one entry per program it starts at login,
// named after the program, and marks it "X-Korvale-LoginItem=true"; entries without the mark
// belong to the user or to other programs and are only ever read.
struct AutostartEntry {
    QString entryPath;
    QString program; // the first word of Exec, empty when there is none
    bool enabled = false; // a desktop entry neither Hidden nor turned off (GNOME's switch)
    bool writtenByKorvale = false;

    // $XDG_CONFIG_HOME/autostart, ~/.config/autostart by default.
    static QString folder();
    // The "*.desktop" entries of the folder, in file-name order.
    static QList<AutostartEntry> readFolder(const QString &folder);
    static AutostartEntry read(const QString &entryPath);
    static AutostartEntry fromContents(const QByteArray &contents, const QString &entryPath);

    // Where the suite keeps the entry that starts program: "NAME.desktop" for the program's file
    // name NAME, but the agent's is named after its application id, "org.korvale.Daemon.desktop",
    // which the desktop portal matches with the entry (docs/platform.md).
    static QString entryFileName(const QString &program);
    // The name older versions gave the entry ("NAME.desktop"): the same as entryFileName() for
    // every program but the agent.
    static QString olderEntryFileName(const QString &program);
    // The entry the suite writes for program.
    static QByteArray contentsFor(const QString &program);
    // Exec's value for program alone: quoted as a desktop-entry argument, then escaped as a
    // string value.
    static QByteArray execValue(const QString &program);
};
