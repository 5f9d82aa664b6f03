#include "ShortcutSettings.h"

#include "KeyMap.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"

#include <QStringList>

namespace {

struct IntegerKey {
    const char *name;
    int ShortcutSettings::*field;
};

// The order in which the section is written.
const IntegerKey BeforeKeyMap[] = {
    {"ShortCutsActivated", &ShortcutSettings::shortCutsActivated},
    {"ShortCutsMenu", &ShortcutSettings::shortCutsMenu},
    {"ShortCutsMenuRepetition", &ShortcutSettings::shortCutsMenuRepetition},
    {"ShortCutsKeyPersonalValues", &ShortcutSettings::shortCutsKeyPersonalValues},
};
const char *const KeyMapKey = "ShortCutsKeyPersonalValuesData";
const IntegerKey AfterKeyMap[] = {
    {"ShortCutsMouseActivated", &ShortcutSettings::shortCutsMouseActivated},
    {"ShortCutsMouseMenu", &ShortcutSettings::shortCutsMouseMenu},
    {"ShortCutsMouseCommandKey", &ShortcutSettings::shortCutsMouseCommandKey},
    {"ShortCutsMouseOptionKey", &ShortcutSettings::shortCutsMouseOptionKey},
    {"ShortCutsMouseShiftKey", &ShortcutSettings::shortCutsMouseShiftKey},
    {"OtherDataBookmarks", &ShortcutSettings::otherDataBookmarks},
    {"OtherDataBookmarksFavicons", &ShortcutSettings::otherDataBookmarksFavicons},
    {"OtherDataAddressBook", &ShortcutSettings::otherDataAddressBook},
    {"OtherDataCalendarEvents", &ShortcutSettings::otherDataCalendarEvents},
};

} // namespace

ShortcutSettings ShortcutSettings::load(const SharedPreferences &preferences)
{
    ShortcutSettings settings;
    const auto read = [&](const auto &keys) {
        for (const IntegerKey &key : keys) {
            if (const std::optional<int> value =
                    SharedPreferences::integerOf(preferences.value(QString::fromLatin1(key.name))))
                settings.*(key.field) = *value;
        }
    };
    read(BeforeKeyMap);
    read(AfterKeyMap);
    // Only a whole key map replaces the empty one.
    const QByteArray map = preferences.value(QString::fromLatin1(KeyMapKey)).toByteArray();
    if (KeyMap::fromData(map))
        settings.shortCutsKeyPersonalValuesData = map;
    return settings;
}

void ShortcutSettings::store(SharedPreferences &preferences) const
{
    for (const IntegerKey &key : BeforeKeyMap)
        preferences.setValue(QString::fromLatin1(key.name), this->*(key.field));
    preferences.setValue(QString::fromLatin1(KeyMapKey), shortCutsKeyPersonalValuesData);
    for (const IntegerKey &key : AfterKeyMap)
        preferences.setValue(QString::fromLatin1(key.name), this->*(key.field));
    preferences.synchronize();
}

QStringList ShortcutSettings::modifierTitles()
{
    QStringList titles;
    for (const char *name : {"Command", "Option", "Control", "Shift", "fn"})
        titles << KeyMap::localizedName(QString::fromLatin1(name));
    return titles;
}

QStringList ShortcutSettings::repetitionTitles()
{
    QStringList titles;
    for (const QString &key : {KORVALE_KEY("ShortcutTapTwice"), KORVALE_KEY("ShortcutTapThrice"),
                               KORVALE_KEY("ShortcutTapFourTimes")})
        titles << QOR_StringUtils::getLocalizedStringForKey(key);
    return titles;
}

QStringList ShortcutSettings::cornerTitles()
{
    QStringList titles;
    for (const QString &key : {KORVALE_KEY("CornerTopLeft"), KORVALE_KEY("CornerTopRight"),
                               KORVALE_KEY("CornerBottomLeft"), KORVALE_KEY("CornerBottomRight")})
        titles << QOR_StringUtils::getLocalizedStringForKey(key);
    return titles;
}

QString ShortcutSettings::keySummary() const
{
    if (shortCutsKeyPersonalValues != 0)
        return KeyMap::fromData(shortCutsKeyPersonalValuesData)
            .value_or(KeyMap())
            .localizedString();
    return QStringLiteral("%1 %2").arg(modifierTitles().value(shortCutsMenu),
                                       repetitionTitles().value(shortCutsMenuRepetition));
}

QString ShortcutSettings::cornerSummary() const
{
    QString summary = cornerTitles().value(shortCutsMouseMenu);
    // Written as a Linux desktop writes modifiers: Alt, Shift, Super.
    const std::pair<int, const char *> modifiers[] = {
        {shortCutsMouseOptionKey, "Option"},
        {shortCutsMouseShiftKey, "Shift"},
        {shortCutsMouseCommandKey, "Command"},
    };
    for (const auto &[on, name] : modifiers) {
        if (on != 0)
            summary = QStringLiteral("%1+%2").arg(summary,
                                                  KeyMap::localizedName(QString::fromLatin1(name)));
    }
    return summary;
}

QString ShortcutSettings::gestureSummary() const
{
    if (shortCutsActivated != 0)
        return keySummary();
    if (shortCutsMouseActivated == 0)
        return {};
    // "Top right corner" starts a sentence of its own; here it sits in the middle of one.
    QString corner = cornerSummary();
    if (!corner.isEmpty())
        corner[0] = corner.at(0).toLower();
    return corner;
}
