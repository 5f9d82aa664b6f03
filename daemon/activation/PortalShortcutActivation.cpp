#include "PortalShortcutActivation.h"
#include "WindowFocus.h"

#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "XdgShortcutTrigger.h"

#include <QFileInfo>
#include <QMap>

const QString PortalShortcutActivation::ToggleId = QStringLiteral("toggle-access-window");
const QString PortalShortcutActivation::MenuId = QStringLiteral("menu-bar-menu");

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

QString titleOf(const QVariantMap &record)
{
    const QString title = record.value(ItemRecord::KeyTitle).toString();
    return title.isEmpty() ? QFileInfo(record.value(ItemRecord::KeyPath).toString()).fileName()
                           : title;
}

// A stored combination that can ever match: 16 bytes, a key held, no Caps Lock (the key maps
// the gestures compare never carry it).
std::optional<KeyMap> usableCombination(const QVariant &stored)
{
    const std::optional<KeyMap> map = KeyMap::fromData(stored.toByteArray());
    if (!map || map->isEmpty() || map->isKeyDown(VirtualKey::CapsLock))
        return std::nullopt;
    return map;
}

} // namespace

PortalShortcutActivation::PortalShortcutActivation(GlobalShortcuts &shortcuts, Sources sources,
                                                   QObject *parent)
    : QObject(parent)
    , mShortcuts(shortcuts)
    , mSources(std::move(sources))
{
    connect(&mShortcuts, &GlobalShortcuts::activated, this, &PortalShortcutActivation::activate);
}

QString PortalShortcutActivation::combinationId(const KeyMap &map)
{
    return QStringLiteral("keys-") + QString::fromLatin1(map.toData().toHex());
}

std::optional<KeyMap> PortalShortcutActivation::personalCombination() const
{
    if (!mSources.settings)
        return std::nullopt;
    const ActivationSettings settings = mSources.settings();
    if (settings.shortCutsActivated == 0 || settings.shortCutsKeyPersonalValues == 0
        || !settings.shortCutsKeyPersonalValuesData)
        return std::nullopt;
    return usableCombination(settings.shortCutsKeyPersonalValuesData->toData());
}

QList<GlobalShortcuts::Shortcut> PortalShortcutActivation::wantedShortcuts() const
{
    QList<GlobalShortcuts::Shortcut> wanted{
        {ToggleId, localized("GlobalShortcutToggle"), {}},
        {MenuId, localized("GlobalShortcutMenu"), {}},
    };

    // One shortcut per combination, as pressing it opens whatever it names at once.
    struct Combination {
        KeyMap map;
        bool opensWindow = false;
        QStringList titles;
    };
    QList<Combination> combinations;
    auto combinationFor = [&combinations](const KeyMap &map) -> Combination & {
        for (Combination &combination : combinations) {
            if (combination.map == map)
                return combination;
        }
        combinations.append({map, false, {}});
        return combinations.last();
    };
    if (const std::optional<KeyMap> personal = personalCombination())
        combinationFor(*personal).opensWindow = true;
    if (mSources.items) {
        for (const QVariant &item : mSources.items->listOfItemsWithShortcuts()) {
            const QVariantMap record = item.toMap();
            if (const std::optional<KeyMap> map =
                    usableCombination(record.value(ItemRecord::KeyShortcut)))
                combinationFor(*map).titles.append(titleOf(record));
        }
    }

    for (const Combination &combination : std::as_const(combinations)) {
        const QString titles = combination.titles.join(QStringLiteral(", "));
        QString description;
        if (combination.titles.isEmpty())
            description = localized("GlobalShortcutOpenWindow");
        else if (combination.opensWindow)
            description = localized("GlobalShortcutOpenWindowAndItems").arg(titles);
        else
            description = localized("GlobalShortcutOpenItems").arg(titles);
        wanted.append({combinationId(combination.map), description,
                       XdgShortcutTrigger::fromKeyMap(combination.map).value_or(QString())});
    }
    return wanted;
}

void PortalShortcutActivation::refresh()
{
    mShortcuts.bindShortcuts(wantedShortcuts());
}

void PortalShortcutActivation::activate(const QString &id, const QByteArray &activationToken)
{
    // A compositor that prevents focus stealing lets the window opened for this press have it.
    if (!activationToken.isEmpty())
        WindowFocus::setActivationToken(activationToken);
    const bool visible = mSources.accessWindowVisible && mSources.accessWindowVisible();
    if (id == ToggleId) {
        // As the double tap: it toggles.
        if (visible)
            emit closeAccessWindowRequested();
        else
            emit openAccessWindowRequested();
        return;
    }
    if (id == MenuId) {
        emit menuBarMenuRequested();
        return;
    }
    if (!id.startsWith(QLatin1String("keys-")))
        return;
    const std::optional<KeyMap> map = KeyMap::fromData(QByteArray::fromHex(id.mid(5).toLatin1()));
    if (!map || map->isEmpty())
        return;
    // As the same keys pressed where the agent sees them: every item they name, in list order,
    // and the access window when they are the personal combination (which only opens it).
    if (mSources.items) {
        for (const QVariantMap &record : mSources.items->matching(*map))
            emit itemShortcutTriggered(record);
    }
    if (personalCombination() == map && !visible)
        emit openAccessWindowRequested();
}
