#include "ActivationSettings.h"

namespace {

int intOf(const QVariantMap &values, const QString &key)
{
    return values.value(key).toInt();
}

void applyKept(const QVariantMap &values, const QString &key, bool &field)
{
    if (values.contains(key))
        field = values.value(key).toInt() != 0;
}

} // namespace

QStringList ActivationSettings::preferenceKeys()
{
    return {QStringLiteral("ShortCutsActivated"),
            QStringLiteral("ShortCutsMenu"),
            QStringLiteral("ShortCutsMenuRepetition"),
            QStringLiteral("ShortCutsKeyPersonalValues"),
            QStringLiteral("ShortCutsKeyPersonalValuesData"),
            QStringLiteral("ShortCutsMouseActivated"),
            QStringLiteral("ShortCutsMouseMenu"),
            QStringLiteral("ShortCutsMouseCommandKey"),
            QStringLiteral("ShortCutsMouseOptionKey"),
            QStringLiteral("ShortCutsMouseShiftKey"),
            QStringLiteral("RevealCursor"),
            QStringLiteral("ShowKeysDetectionAuto"),
            QStringLiteral("ControlClickInMenuBar"),
            QStringLiteral("OtherDataCalendarEvents")};
}

void ActivationSettings::applyPreferenceValues(const QVariantMap &values)
{
    shortCutsActivated = intOf(values, QStringLiteral("ShortCutsActivated"));
    shortCutsMenu = intOf(values, QStringLiteral("ShortCutsMenu"));
    shortCutsMenuRepetition =
        qBound(0, intOf(values, QStringLiteral("ShortCutsMenuRepetition")), 1000);
    shortCutsKeyPersonalValues = intOf(values, QStringLiteral("ShortCutsKeyPersonalValues"));
    shortCutsKeyPersonalValuesData = KeyMap::fromData(
        values.value(QStringLiteral("ShortCutsKeyPersonalValuesData")).toByteArray());
    shortCutsMouseActivated = intOf(values, QStringLiteral("ShortCutsMouseActivated"));
    shortCutsMouseMenu = intOf(values, QStringLiteral("ShortCutsMouseMenu"));
    shortCutsMouseCommandKey = intOf(values, QStringLiteral("ShortCutsMouseCommandKey"));
    shortCutsMouseOptionKey = intOf(values, QStringLiteral("ShortCutsMouseOptionKey"));
    shortCutsMouseShiftKey = intOf(values, QStringLiteral("ShortCutsMouseShiftKey"));
    otherDataCalendarEvents = intOf(values, QStringLiteral("OtherDataCalendarEvents")) != 0;
    if (values.contains(QStringLiteral("RevealCursor")))
        revealCursor = intOf(values, QStringLiteral("RevealCursor"));
    applyKept(values, QStringLiteral("ShowKeysDetectionAuto"), showKeysDetectionAuto);
    applyKept(values, QStringLiteral("ControlClickInMenuBar"), controlClickInMenuBar);
}

KeyMap ActivationSettings::definedKeyMap() const
{
    if (shortCutsKeyPersonalValues != 0 && shortCutsKeyPersonalValuesData)
        return *shortCutsKeyPersonalValuesData;
    switch (shortCutsMenu) {
    case 0:
        return KeyMap::ofKeys({VirtualKey::Command});
    case 1:
        return KeyMap::ofKeys({VirtualKey::Option});
    case 2:
        return KeyMap::ofKeys({VirtualKey::Control});
    case 3:
        return KeyMap::ofKeys({VirtualKey::Shift});
    case 4:
        return KeyMap::ofKeys({VirtualKey::Fn});
    default:
        return {};
    }
}

int ActivationSettings::revealCursorKeyCode() const
{
    switch (revealCursor) {
    case 1:
        return VirtualKey::Control;
    case 2:
        return VirtualKey::Option;
    case 3:
        return VirtualKey::Command;
    default:
        return -1;
    }
}
