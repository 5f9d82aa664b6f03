#include "DesktopSearchPanel.h"

#include "DesktopIcons.h"
#include "DesktopSearchSwitches.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int RowsShown = 4;
} // namespace

DesktopSearchPanel::DesktopSearchPanel(const QStringList &dataFolders, QWidget *parent)
    : QGroupBox(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("PreferencesDesktopSearch")),
                parent)
    , mSources(SearchSourceFiles::find(dataFolders))
    , mList(new QListWidget(this))
{
    setObjectName(DesktopSearchSwitches::PreferenceKey);
    auto *layout = new QVBoxLayout(this);
    // The sheet is already tall: what the list means goes into its tooltip.
    setToolTip(
        QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("PreferencesDesktopSearchNote")));
    for (const DesktopSearchSource &source : std::as_const(mSources)) {
        const QString kind = source.kind == DesktopSearchSource::Kind::GnomeProvider
            ? QStringLiteral("GNOME")
            : QStringLiteral("KRunner");
        auto *item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(source.name, kind), mList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setIcon(
            source.iconName.startsWith(QLatin1Char('/'))
                ? QIcon(source.iconName)
                : DesktopIcons::themed({source.iconName, QStringLiteral("system-search")}));
        item->setToolTip(source.busName);
    }
    // As tall as its rows, up to a few; more scroll.
    mList->setFixedHeight(mList->sizeHintForRow(0) * std::clamp(int(mSources.size()), 1, RowsShown)
                          + 2 * mList->frameWidth());
    mList->setVisible(!mSources.isEmpty());
    layout->addWidget(mList);
    if (mSources.isEmpty()) {
        layout->addWidget(new QLabel(QOR_StringUtils::getLocalizedStringForKey(
            KORVALE_KEY("PreferencesDesktopSearchNone"))));
    }
}

void DesktopSearchPanel::load(const SharedPreferences &preferences)
{
    const DesktopSearchSwitches switches = DesktopSearchSwitches::read(preferences);
    for (int row = 0; row < mSources.size(); ++row)
        mList->item(row)->setCheckState(switches.isOn(mSources.at(row)) ? Qt::Checked
                                                                        : Qt::Unchecked);
}

void DesktopSearchPanel::store(SharedPreferences &preferences) const
{
    DesktopSearchSwitches switches = DesktopSearchSwitches::read(preferences);
    for (int row = 0; row < mSources.size(); ++row)
        switches.set(mSources.at(row), mList->item(row)->checkState() == Qt::Checked);
    switches.write(preferences);
}
