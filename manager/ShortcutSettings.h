#pragma once

#include <QByteArray>
#include <QStringList>

class SharedPreferences;

// The keys the shortcut section and the other-data section keep together: how the access window
// is brought up (double tap or personal combination, screen corner) and which of the user's
// other programs are read. Stored as a whole, so that any change rewrites every key.
struct ShortcutSettings {
    int shortCutsActivated = 1; // the agent's first start turns the double tap of Super on
    int shortCutsMenu = 0; // 0 Super, 1 Alt, 2 Ctrl, 3 Shift, 4 Fn
    int shortCutsMenuRepetition = 0; // taps = value + 2
    int shortCutsKeyPersonalValues = 0;
    QByteArray shortCutsKeyPersonalValuesData = QByteArray(16, '\0');
    int shortCutsMouseActivated = 0;
    int shortCutsMouseMenu = 0; // 0 top left, 1 top right, 2 bottom left, 3 bottom right
    int shortCutsMouseCommandKey = 0;
    int shortCutsMouseOptionKey = 0;
    int shortCutsMouseShiftKey = 0;
    int otherDataBookmarks = 0;
    int otherDataBookmarksFavicons = 0;
    int otherDataAddressBook = 0;
    int otherDataCalendarEvents = 0;

    bool operator==(const ShortcutSettings &) const = default;

    // The titles of the pop-ups' entries, by stored value. Fn is named for a stored value only:
    // PC keyboards keep it to themselves, so it is not offered.
    static QStringList modifierTitles();
    static QStringList repetitionTitles();
    static QStringList cornerTitles();
    static constexpr int OfferedModifiers = 4;

    // The two summaries of the section: the personal combination's keys, or the modifier and
    // how often it is tapped; the corner, then "+" and each modifier it needs.
    QString keySummary() const;
    QString cornerSummary() const;
    // How the access window opens, to be read inside a sentence: the key gesture when it is on,
    // else the corner of the screen when that is on, else nothing.
    QString gestureSummary() const;

    // The stored values where there are some, these values elsewhere.
    static ShortcutSettings load(const SharedPreferences &preferences);
    // Every key, in a fixed order, then written through.
    void store(SharedPreferences &preferences) const;
};
