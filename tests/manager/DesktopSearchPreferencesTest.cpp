#include "DesktopSearchPanel.h"
#include "DesktopSearchSwitches.h"
#include "PreferencesSheet.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

// The sources found under the data folders, named by their application, each with a switch that
// starts at its file's default and is stored for the agent; ours and the shell's applications are
// not listed.
TEST(DesktopSearchPreferences, EachSourceIsListedWithItsDefaultAndItsSwitchIsStored)
{
    TemporaryHome home;
    const QString user = home.path() + "/user-share", system = home.path() + "/system-share";
    writeFile(system + "/gnome-shell/search-providers/calc.ini",
              "[Shell Search Provider]\nDesktopId=calc.desktop\nBusName=org.example.Calc\n"
              "ObjectPath=/calc\nVersion=2\n");
    writeFile(system + "/applications/calc.desktop",
              "[Desktop Entry]\nType=Application\nName=Calculator\nName[fr]=Calculatrice\n"
              "Icon=accessories-calculator\nExec=calc\n");
    writeFile(system + "/gnome-shell/search-providers/files.ini",
              "[Shell Search Provider]\nBusName=org.example.Files\nObjectPath=/files\nVersion=2\n"
              "DefaultDisabled=true\n");
    writeFile(system + "/gnome-shell/search-providers/apps.ini",
              "[Shell Search Provider]\nBusName=org.gnome.Shell\nObjectPath=/apps\nVersion=2\n");
    writeFile(system + "/gnome-shell/search-providers/old.ini",
              "[Shell Search Provider]\nBusName=org.example.Old\nObjectPath=/old\nVersion=1\n");
    writeFile(system + "/krunner/dbusplugins/windows.desktop",
              "[Desktop Entry]\nName=Windows\nX-Plasma-API=DBus\n"
              "X-Plasma-DBusRunner-Service=org.example.Windows*\n"
              "X-Plasma-DBusRunner-Path=/windows\nX-KDE-PluginInfo-EnabledByDefault=false\n");
    // A file of the user's folder hides the system's of that name.
    writeFile(user + "/krunner/dbusplugins/windows.desktop",
              "[Desktop Entry]\nName=My windows\nX-Plasma-API=DBus2\n"
              "X-Plasma-DBusRunner-Service=org.example.MyWindows\nX-Plasma-DBusRunner-Path=/w\n");
    QFile::copy(QStringLiteral(KORVALE_SOURCE_DIR "/packaging/korvale-runner.desktop"),
                user + "/krunner/dbusplugins/korvale-runner.desktop");

    SharedPreferences preferences;
    DesktopSearchPanel panel({user, system});
    panel.load(preferences);
    QStringList shown;
    for (int row = 0; row < panel.list()->count(); ++row)
        shown << panel.list()->item(row)->text()
                + (panel.list()->item(row)->checkState() == Qt::Checked ? " on" : " off");
    EXPECT_EQ(
        shown,
        (QStringList{"Calculator (GNOME) on", "files (GNOME) off", "My windows (KRunner) on"}));

    panel.list()->item(0)->setCheckState(Qt::Unchecked);
    panel.list()->item(1)->setCheckState(Qt::Checked);
    panel.store(preferences);
    ASSERT_TRUE(preferences.synchronize());
    const DesktopSearchSwitches switches = DesktopSearchSwitches::read(SharedPreferences());
    EXPECT_FALSE(switches.isOn(panel.sources().at(0)));
    EXPECT_TRUE(switches.isOn(panel.sources().at(1)));
    EXPECT_TRUE(switches.isOn(panel.sources().at(2)));
    // Only what differs from a default is kept.
    EXPECT_EQ(SharedPreferences().value(DesktopSearchSwitches::PreferenceKey).toMap().keys(),
              (QStringList{"gnome/calc.ini", "gnome/files.ini"}));
}
