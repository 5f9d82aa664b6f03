#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The suite's one reader of freedesktop desktop entries: the scanner's listing verdicts, the
// display name of an entry, its icon and whether it is an application. GIO's GDesktopAppInfo gives
// the same verdicts, but parses every key of every locale and costs ~0.2 ms an entry: too slow
// for folders with thousands of entries, so this reads only the keys the suite needs. GIO still
// launches entries.
class DesktopEntryReader
{
public:
    // The keys of the [Desktop Entry] group that the suite reads, values unescaped.
    struct MainGroup {
        bool found = false; // the file has a [Desktop Entry] group
        QByteArray type;
        QString name; // in the best language of those given, else untranslated; may be empty
        QString icon;
        bool hidden = false;
        bool noDisplay = false;
        QByteArray tryExec;
        QByteArray exec;
        // The desktops listed, or nothing when the key is absent.
        std::optional<QList<QByteArray>> onlyShowIn;
        std::optional<QList<QByteArray>> notShowIn;
        // Autostart entries: GNOME's switch (only "false" or "0" turns an entry off), and the
        // mark of an entry the suite wrote itself.
        bool autostartEnabled = true;
        bool writtenByKorvale = false;
    };

    // What decides whether an entry is listed, read from its contents once.
    struct Entry {
        bool listable = false; // an application, not hidden, shown in the current desktop
        QString title;
        QByteArray tryExec; // programs that must be found, empty when not given
        QByteArray execProgram;
    };

    // Takes the user's languages, the current desktops and PATH from the environment now.
    DesktopEntryReader();

    // Any bytes: lines end at "\n", groups and keys as the desktop-entry format has them; the
    // first [Desktop Entry] group counts, other groups (actions) are skipped.
    static MainGroup readMainGroup(const QByteArray &contents, const QList<QByteArray> &languages);

    // The program of an unescaped Exec value: its first word under the quoting rules of desktop
    // entries, "%%" read as "%".
    static QByteArray execProgram(QByteArrayView exec);

    // The localised Name of an entry that a launcher lists: Type=Application, neither Hidden nor
    // NoDisplay, shown in the current desktop (OnlyShowIn, NotShowIn), its TryExec and Exec
    // programs found. Nothing for every other entry.
    std::optional<QString> listedTitle(const QString &path);
    std::optional<QString> listedTitleInContents(const QByteArray &contents, const QString &path);

    // The two halves of listedTitle: reading the file, and the check of its programs (which
    // may come and go while the entry stays the same).
    Entry readEntry(const QByteArray &contents, const QString &path) const;
    std::optional<QString> listedTitle(const Entry &entry);

    // The name an entry of any type is shown with, in the user's language: nothing when the path
    // is not a readable ".desktop" file whose main group has a non-empty Name.
    static std::optional<QString> nameAtPath(const QString &path);
    static std::optional<QString> nameInContents(const QByteArray &contents,
                                                 const QList<QByteArray> &languages);
    // The Icon key (a theme name or a file), empty when there is none.
    static QString iconAtPath(const QString &path);
    // Whether the file is a desktop entry of Type=Application.
    static bool isApplicationAtPath(const QString &path);

    // A regular file of at most BoundedFile::Limit::DesktopEntry bytes, whole; empty otherwise
    // (a FIFO or a device too, without waiting on it).
    static QByteArray readSmallFile(const QByteArray &nativePath);

    // Entries read under other languages or desktops must be read again.
    QByteArray environmentKey() const;

    // The desktop-file ID of an entry at `relativePath` below an applications folder:
    // "kde/konsole.desktop" is "kde-konsole.desktop".
    static QString desktopFileId(const QString &relativePath);

    // The locale names to try for localised keys, best first, as gettext finds them: the list of
    // LANGUAGE (unless the locale is unset, "C" or "POSIX"), then the locale of LC_ALL,
    // LC_MESSAGES or LANG;
    // each as lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang.
    static QList<QByteArray> userLanguageNames();

private:
    bool programFound(const QByteArray &program);

    QList<QByteArray> mLanguages;
    QList<QByteArray> mCurrentDesktops;
    QList<QByteArray> mSearchPath;
    QHash<QByteArray, bool> mProgramsFound;
};
