#pragma once

#include "LocaleDateFormatter.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// Localised texts, byte counts and the shared date formatters of the suite.
//
// Texts come from the Qt Linguist tables compiled into every program (":/i18n/korvale_LANG.qm"):
// a table is a translation context ("Korvale" for the programs' keys, "QOR_StringUtils" for this
// class's own keys), the localisation key is the source text, and a key without a text shows the
// key itself. Every operation may be called from any thread.
// A key of the programs' table ("Korvale") that is looked up later.
#define KORVALE_KEY(key) QStringLiteral(key)

class QOR_StringUtils
{
public:
    QOR_StringUtils() = delete;

    static const QString ProgramTable;
    static const QString LibraryTable;
    static const QString DateLocalePreference;

    // Called by every program's main once the application object exists: installs the table of
    // the best language for `locale` (the user's interface languages by default), English when
    // there is none, with Qt's own texts for that language, then builds the date formatters.
    // Returns the language of the installed table, empty when nothing could be installed.
    static QString installTranslations(const QLocale &locale = QLocale());
    // Uninstalls the tables installTranslations put in place.
    static void removeTranslations();
    // The languages a table exists for ("en", "fr", ...).
    static QStringList availableLanguages();

    // A language whose table is preferred to the installed one; empty text removes it. False
    // (and the override unchanged) when there is no table for that language.
    static bool setLocalizationLanguage(const QString &language);
    static QString getLocalizationLanguage();

    // Keys named where they are not looked up at once (a menu entry, a filter) are written
    // with KORVALE_KEY: the test of the string tables finds every key through that mark and
    // through the literal arguments of the lookups.
    static QString getLocalizedStringForKey(const QString &key);
    // The text of a field's label, ended the one way every form of the suite ends its labels
    // ("Title:", "Titre :"), whether or not the table's text carries a colon.
    static QString getLocalizedFieldLabel(const QString &key);
    // A text that holds a count: the table's plural form for `count`, with "%n" replaced by it.
    static QString getLocalizedStringForCount(const QString &key, int count);
    static QString getLocalizedStringForKeyTable(const QString &key, const QString &table);
    // Logs once per run when this class's own table is not installed.
    static void checkLocalizedStringsOK();

    // The date language override, kept in the preference "QOR_StringUtils_dateLocale".
    static void setLanguageLocaleString(const QString &identifier);
    static QString getLanguageLocaleString();
    static void initLanguageLocale();
    static void resetLanguageLocale();
    // The locale the formatters use.
    static QLocale getLanguageLocale();

    static LocaleDateFormatter getDateFormatter();
    static LocaleDateFormatter getShortTimeDateFormatter();
    static LocaleDateFormatter getShortTimeSecondsDateFormatter();
    static LocaleDateFormatter getShortDateFormatter();
    static LocaleDateFormatter getShortTimeFormatter();

    // Each formats a moment in local time with the formatter of the same name; an invalid
    // QDateTime is a missing date and gives empty text, or "?" where noted.
    static QString getDate(const QDateTime &date);
    static QString getShortDate(const QDateTime &date);
    static QString getShortTime(const QDateTime &date);
    static QString getShortTimeSeconds(const QDateTime &date);
    static QString getShortTimeDate(const QDateTime &date); // "?" for a missing date
    static QString getShortTimeSecondsDate(const QDateTime &date); // "?" for a missing date
    // Short date and time with seconds in the user's locale, whatever the override.
    static QString getShortTimeSecondsDateDefaultLocale(const QDateTime &date);
    static QString getMediumDate(const QDateTime &date);
    static QString getMediumTime(const QDateTime &date);
    static QString getMediumTimeDate(const QDateTime &date);
    static QString getMediumTimeSecondsDate(const QDateTime &date);
    static QString getLongDate(const QDateTime &date);
    static QString getLongTime(const QDateTime &date);
    static QString getLongTimeDate(const QDateTime &date);
    static QString getLongTimeSecondsDate(const QDateTime &date);

    // The name of an item as the file manager shows it: a desktop entry's Name in the user's
    // language, otherwise the file name ("/" for the root). A null path gives a null text.
    static QString localizedNameAtPath(const QString &path);
    // Every component of an existing path shown that way and joined again; other paths come
    // back unchanged, a null path as a null text.
    static QString localizedPath(const QString &path);

    // 1000: file sizes on the Linux desktop count decimal units.
    static qint64 getKBValue();
    // "1 byte", "999 bytes", "1.5 kB", "-2.0 MB"... in the table's language, one decimal for
    // kilobytes and above, numbers in the user's locale.
    static QString getSizeBytes(qint64 bytes);

    // Case-insensitive replacement of every occurrence, by the suite's matching rule.
    static QString replaceInStringOldStringNewString(const QString &text, const QString &oldString,
                                                     const QString &newString);

    // Lets a test see the missing-table line again.
    static void forgetLocalizedStringsCheck();
};
