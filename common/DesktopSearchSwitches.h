#pragma once

#include "SearchSourceFiles.h"

#include <QString>
#include <QVariantMap>

class SharedPreferences;

// The manager's switch of each provider and runner of the desktop's search, kept in the
// preferences under the source's key; a source never switched follows its file's default.
class DesktopSearchSwitches
{
public:
    static const QString PreferenceKey;

    static DesktopSearchSwitches read(const SharedPreferences &preferences);
    bool isOn(const DesktopSearchSource &source) const;
    void set(const DesktopSearchSource &source, bool on);
    // Into the preferences, not yet synchronised.
    void write(SharedPreferences &preferences) const;

private:
    QVariantMap mSwitches;
};
