#include "ShortcutSettings.h"

#include "KeyMap.h"
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
