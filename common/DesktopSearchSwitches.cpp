#include "DesktopSearchSwitches.h"

#include "SharedPreferences.h"

const QString DesktopSearchSwitches::PreferenceKey = QStringLiteral("DesktopSearchSources");

DesktopSearchSwitches DesktopSearchSwitches::read(const SharedPreferences &preferences)
{
    DesktopSearchSwitches switches;
    switches.mSwitches = preferences.value(PreferenceKey).toMap();
    return switches;
}

bool DesktopSearchSwitches::isOn(const DesktopSearchSource &source) const
{
    const auto it = mSwitches.constFind(source.key);
    return it == mSwitches.cend() ? source.enabledByDefault : it->toBool();
}

void DesktopSearchSwitches::set(const DesktopSearchSource &source, bool on)
{
    // Back to the default: nothing kept, so a changed default is followed again.
    if (on == source.enabledByDefault)
        mSwitches.remove(source.key);
    else
        mSwitches.insert(source.key, on);
}

void DesktopSearchSwitches::write(SharedPreferences &preferences) const
{
    preferences.setValue(PreferenceKey, mSwitches);
}
