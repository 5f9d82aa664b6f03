#include "ManagerFixture.h"

#include "CornerActivationSheet.h"
#include "InfoViews.h"
#include "KeyActivationSheet.h"
#include "KeyCombinationCapture.h"
#include "ShortcutSectionView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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
