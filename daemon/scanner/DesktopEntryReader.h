#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Reads freedesktop desktop entries the way a launcher lists them. GIO's GDesktopAppInfo gives
// the same verdicts, but parses every key of every locale and costs ~0.2 ms an entry: too slow
// for folders with thousands of entries, so the scanner reads only the keys it needs.
class DesktopEntryReader
{
public:
    // What decides whether an entry is listed, read from its contents once.
    struct Entry {
        bool listable = false; // an application, not hidden, shown in the current desktop
        QString title;
        QByteArray tryExec; // programs that must be found, empty when not given
        QByteArray execProgram;
    };

    // Takes the user's languages, the current desktops and PATH from the environment now.
    DesktopEntryReader();

    // The localised Name of an entry that a launcher lists: Type=Application, neither Hidden nor
    // NoDisplay, shown in the current desktop (OnlyShowIn, NotShowIn), its TryExec and Exec
    // programs found. Nothing for every other entry.
    std::optional<QString> listedTitle(const QString &path);
    std::optional<QString> listedTitleInContents(const QByteArray &contents, const QString &path);

    // The two halves of listedTitle: reading the file, and the check of its programs (which
    // may come and go while the entry stays the same).
    Entry readEntry(const QByteArray &contents, const QString &path) const;
    std::optional<QString> listedTitle(const Entry &entry);

    static QByteArray readSmallFile(const QByteArray &nativePath);

    // Entries read under other languages or desktops must be read again.
    QByteArray environmentKey() const;

    // The desktop-file ID of an entry at `relativePath` below an applications folder:
    // "kde/konsole.desktop" is "kde-konsole.desktop".
    static QString desktopFileId(const QString &relativePath);

    // The locale names to try for localised keys, best first, as GLib finds them (LANGUAGE,
    // LC_ALL, LC_MESSAGES, LANG), each as lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER,
    // lang.
    static QList<QByteArray> userLanguageNames();

private:
    bool programFound(const QByteArray &program);

    QList<QByteArray> mLanguages;
    QList<QByteArray> mCurrentDesktops;
    QList<QByteArray> mSearchPath;
    QHash<QByteArray, bool> mProgramsFound;
};
