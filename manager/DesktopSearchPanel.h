#pragma once

#include "SearchSourceFiles.h"

#include <QGroupBox>
#include <QList>

class QListWidget;
class SharedPreferences;

// The desktop's search providers and runners found on this system, each with its application's
// name and icon and a switch; a source never switched shows its file's default (DefaultDisabled,
// EnabledByDefault). The agent reads the switches when its window opens.
class DesktopSearchPanel : public QGroupBox
{
    Q_OBJECT
public:
    // Empty: the data folders of the session.
    explicit DesktopSearchPanel(const QStringList &dataFolders = {}, QWidget *parent = nullptr);

    void load(const SharedPreferences &preferences);
    // Into the preferences, not yet synchronised.
    void store(SharedPreferences &preferences) const;

    QListWidget *list() const { return mList; }
    const QList<DesktopSearchSource> &sources() const { return mSources; }

private:
    QList<DesktopSearchSource> mSources;
    QListWidget *mList;
};
