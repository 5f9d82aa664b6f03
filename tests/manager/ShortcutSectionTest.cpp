#include "ManagerFixture.h"

#include "CornerActivationSheet.h"
#include "InfoViews.h"
#include "KeyActivationSheet.h"
#include "KeyCombinationCapture.h"
#include "KeyboardDevicesPanel.h"
#include "ShortcutSectionView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cerrno>

#include <unistd.h>

namespace {
QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}
} // namespace

// Each control of the section writes the whole section, tells the agent once and updates the two
// summaries; Cancel in a sheet changes nothing, and the sheet shows what is stored next time.
TEST_F(ManagerTest, TheShortcutSectionStoresEveryChangeWholeAndSummarisesIt)
{
    mPreferences->setValue("ShortCutsMenu", 2);
    mPreferences->setValue("ShortCutsMenuRepetition", 1);
    auto manager = makeManager();
    ShortcutSectionView *view = manager->shortcutView();
    EXPECT_EQ(view->keySummary(), "Ctrl tapped three times");
    EXPECT_EQ(view->cornerSummary(), "Top left corner");
    EXPECT_TRUE(view->keyBox()->isChecked());
    EXPECT_FALSE(view->cornerBox()->isChecked());

    // Cancel after choosing another modifier and holding keys: nothing stored, nothing told.
    KeyActivationSheet *keys = manager->keyActivationSheet();
    clearPosted();
    QObject::connect(keys, &KeyActivationSheet::running, keys, [&] {
        keys->modifier()->setCurrentIndex(0);
        mKeyboard.setMap(KeyMap::ofKeys({VirtualKey::Shift, 1}));
        keys->capture()->takeNow();
        keys->capture()->sample();
        keys->reject();
    });
    view->changeKeyButton()->click();
    EXPECT_TRUE(posted().isEmpty());
    EXPECT_EQ(mPreferences->value("ShortCutsMenu").toInt(), 2);
    QObject::disconnect(keys, &KeyActivationSheet::running, nullptr, nullptr);

    // OK in personal mode takes the combination held, a locked Caps Lock left out.
    const KeyMap controlOption = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option});
    QObject::connect(keys, &KeyActivationSheet::running, keys, [&] {
        EXPECT_EQ(keys->modifier()->currentIndex(), 2) << "the stored modifier, not the cancelled";
        EXPECT_TRUE(keys->capture()->taken().isEmpty()) << "the cancelled combination is dropped";
        keys->personalMode()->click();
        EXPECT_FALSE(keys->predefinedMode()->isChecked());
        KeyMap held = controlOption;
        held.setKeyDown(VirtualKey::CapsLock);
        mKeyboard.setMap(held);
        for (int i = 0; i <= KeyCombinationCapture::SamplesToTake; ++i)
            keys->capture()->sample();
        mKeyboard.releaseAll();
        keys->capture()->sample();
        EXPECT_EQ(keys->shownKeys(), "Ctrl+Alt");
        keys->accept();
    });
    view->changeKeyButton()->click();
    EXPECT_EQ(posted(), QStringList{"SettingChanged"});
    EXPECT_EQ(mPreferences->value("ShortCutsKeyPersonalValues").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ShortCutsKeyPersonalValuesData").toByteArray(),
              controlOption.toData());
    EXPECT_EQ(mPreferences->value("ShortCutsMenu").toInt(), 2);
    EXPECT_EQ(view->keySummary(), "Ctrl+Alt");

    // The corner sheet: the modifiers are summarised as Super, Shift, Alt whatever the order.
    CornerActivationSheet *corner = manager->cornerActivationSheet();
    clearPosted();
    QObject::connect(corner, &CornerActivationSheet::running, corner, [&] {
        corner->corner()->setCurrentIndex(1);
        corner->altBox()->setChecked(true);
        corner->superBox()->setChecked(true);
        corner->accept();
    });
    view->changeCornerButton()->click();
    EXPECT_EQ(view->cornerSummary(), "Top right corner+Alt+Super");
    EXPECT_EQ(mPreferences->value("ShortCutsMouseMenu").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ShortCutsMouseCommandKey").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ShortCutsMouseOptionKey").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ShortCutsMouseShiftKey").toInt(), 0);
    EXPECT_EQ(mPreferences->value("ShortCutsMouseActivated").toInt(), 0)
        << "choosing a corner does not turn it on";

    clearPosted();
    view->cornerBox()->click();
    view->keyBox()->click();
    EXPECT_EQ(posted(), (QStringList{"SettingChanged", "SettingChanged"}));
    EXPECT_EQ(mPreferences->value("ShortCutsMouseActivated").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ShortCutsActivated").toInt(), 0);
    EXPECT_EQ(mPreferences->value("ShortCutsKeyPersonalValues").toInt(), 1);

    // A new start shows what was stored.
    manager.reset();
    manager = makeManager();
    EXPECT_EQ(manager->shortcutView()->keySummary(), "Ctrl+Alt");
    EXPECT_EQ(manager->shortcutView()->cornerSummary(), "Top right corner+Alt+Super");
    EXPECT_FALSE(manager->shortcutView()->keyBox()->isChecked());
}

// Where the gestures cannot be watched, the section gives the command a key can be bound to.
TEST_F(ManagerTest, AWaylandSessionShowsTheCommandToBind)
{
    mWayland = true;
    auto manager = makeManager();
    ShortcutSectionView *view = manager->shortcutView();
    ASSERT_TRUE(view->showsWaylandNote());
    const auto *command = view->findChild<QLineEdit *>();
    ASSERT_TRUE(command);
    EXPECT_TRUE(command->isReadOnly());
    EXPECT_TRUE(command->text().startsWith("gdbus call --session --dest org.korvale.Daemon"));
    EXPECT_TRUE(command->text().endsWith("org.korvale.AccessWindow.Toggle"));

    manager.reset();
    mWayland = false;
    EXPECT_FALSE(makeManager()->shortcutView()->showsWaylandNote());
}

// In a Wayland session the section offers to read the keyboards' devices, off until chosen, says
// what that means and whether this account may; the choice reaches the agent at once.
TEST_F(ManagerTest, AWaylandSessionOffersToReadTheKeyboardsDevices)
{
    const QString input = mHome.path() + "/input";
    QDir().mkpath(input);
    for (const auto &[name, plays] : {std::pair{"event0", "mouse"}, {"event3", "keyboard"}}) {
        QFile device(input + "/" + name);
        ASSERT_TRUE(device.open(QIODevice::WriteOnly));
        device.write(plays);
    }
    bool mayRead = false;
    // event0 plays a mouse, event3 a keyboard; neither may be opened until `mayRead`.
    mKeyboardDevices = EvdevDeviceDiscovery(
        input,
        [&mayRead](const QString &path) {
            return mayRead ? EvdevDeviceDiscovery::openDevice(path) : -EACCES;
        },
        [](int fd) {
            char plays[8] = {};
            EvdevDeviceDiscovery::DeviceInfo info;
            info.keyboard = ::pread(fd, plays, sizeof plays, 0) == 8;
            return std::optional(info);
        });
    mWayland = true;
    auto manager = makeManager();
    KeyboardDevicesPanel *panel = manager->shortcutView()->keyboardDevicesPanel();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->box()->isChecked()) << "off unless chosen";
    EXPECT_FALSE(mPreferences->contains("ReadKeyboardDevices"));
    const QString text = panel->findChild<QLabel *>("keyboardDevicesText")->text();
    EXPECT_TRUE(text.contains("every key")) << text.toStdString();
    EXPECT_TRUE(panel->findChild<QLabel *>("cornersNote")->text().contains("X11"));
    EXPECT_EQ(panel->accessText(), localized("KeyboardDevicesNoAccess"));
    EXPECT_TRUE(panel->showsAccessCommand());
    EXPECT_EQ(panel->findChild<QLineEdit *>("keyboardDevicesCommand")->text(),
              "sudo usermod -aG input $USER");

    clearPosted();
    panel->box()->click();
    EXPECT_EQ(mPreferences->value("ReadKeyboardDevices").toInt(), 1);
    EXPECT_EQ(posted(), QStringList{"SettingChanged"});

    // Given the right (at the next login), the section shows it and hides the command.
    mayRead = true;
    panel->refreshAccess();
    EXPECT_EQ(panel->accessText(), localized("KeyboardDevicesReadable").arg(1));
    EXPECT_FALSE(panel->showsAccessCommand());
    // The manager's own key sheets then read the same keyboards; unticked, the display's.
    EXPECT_TRUE(panel->chosenKeyboard());
    panel->box()->click();
    EXPECT_FALSE(panel->chosenKeyboard());
    panel->box()->click();

    manager.reset();
    manager = makeManager();
    EXPECT_TRUE(manager->shortcutView()->keyboardDevicesPanel()->box()->isChecked());
    manager.reset();
    mWayland = false;
    EXPECT_FALSE(makeManager()->shortcutView()->keyboardDevicesPanel()) << "X11 hears every key";
}

// The welcome text names the gesture that opens the access window now, not the first one.
TEST_F(ManagerTest, TheWelcomeTextFollowsTheActivationGesture)
{
    mPreferences->setValue("ShortCutsMenu", 2);
    mPreferences->setValue("ShortCutsMenuRepetition", 0);
    auto manager = makeManager();
    ShortcutSectionView *view = manager->shortcutView();
    WelcomeView *welcome = manager->welcomeView();
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(welcome->welcomeText(),
              QOR_StringUtils::getLocalizedStringForKey("WelcomeText").arg(view->keySummary()));
    EXPECT_TRUE(welcome->welcomeText().contains("Ctrl tapped twice"))
        << welcome->welcomeText().toStdString();

    view->keyBox()->click(); // no gesture left: the panel icon's menu
    EXPECT_EQ(welcome->welcomeText(),
              QOR_StringUtils::getLocalizedStringForKey("WelcomeTextNoGesture"));
    view->cornerBox()->click();
    EXPECT_TRUE(welcome->welcomeText().contains(" with top left corner,"))
        << welcome->welcomeText().toStdString();
}
