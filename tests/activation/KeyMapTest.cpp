#include "KeyMap.h"
#include "ActivationSettings.h"
#include "CommonKorvaleClass.h"
#include "KeyDetectionWindow.h"
#include "MoreInfoView.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"
#include "platform/KeyMapSource.h"

#include <QFile>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

TEST(KeyMapTest, BitsFollowTheByteAndMaskLayout)
{
    const KeyMap command = KeyMap::ofKeys({VirtualKey::Command});
    EXPECT_EQ(command.bytes()[6], 128);
    EXPECT_EQ(command.bitCount(), 1);
    const KeyMap fn = KeyMap::ofKeys({VirtualKey::Fn});
    EXPECT_EQ(fn.bytes()[7], 128);
    EXPECT_EQ(KeyMap::ofKeys({VirtualKey::Shift, VirtualKey::Option}).bytes()[7], 1 | 4);

    KeyMap last;
    last.setKeyDown(127);
    EXPECT_EQ(last.bytes()[15], 128);
    KeyMap almost = last;
    almost.setKeyDown(126);
    EXPECT_FALSE(last == almost) << "one bit of the last byte";
    EXPECT_TRUE(KeyMap().isEmpty());
    EXPECT_FALSE(last.isEmpty());

    last.setKeyDown(128); // out of range: ignored
    last.setKeyDown(-1);
    EXPECT_EQ(last.bitCount(), 1);
}

TEST(KeyMapTest, StoredMapsAreExactlySixteenBytes)
{
    const KeyMap map = KeyMap::ofKeys({0, 55, 127});
    const QByteArray data = map.toData();
    ASSERT_EQ(data.size(), 16);
    EXPECT_EQ(KeyMap::fromData(data), map);
    EXPECT_FALSE(KeyMap::fromData(data.left(15)).has_value());
    EXPECT_FALSE(KeyMap::fromData(data + '\0').has_value());
    EXPECT_FALSE(KeyMap::fromData({}).has_value());
}

TEST(KeyMapTest, CapsLockIsClearedForComparisons)
{
    const KeyMap locked = KeyMap::ofKeys({VirtualKey::Command, VirtualKey::CapsLock});
    EXPECT_EQ(locked.withoutCapsLock(), KeyMap::ofKeys({VirtualKey::Command}));
    EXPECT_TRUE(KeyMap::ofKeys({VirtualKey::CapsLock}).withoutCapsLock().isEmpty());
}

TEST(KeyMapTest, NamesListModifiersFirstThenTheRestByKeyCode)
{
    EXPECT_TRUE(KeyMap().names().isEmpty());
    EXPECT_EQ(KeyMap().displayString([](const QString &s) { return s; }), QString());

    const KeyMap f5Command = KeyMap::ofKeys({96, VirtualKey::Command});
    EXPECT_EQ(f5Command.displayString([](const QString &s) { return s; }),
              QStringLiteral("Command+F5"));

    const KeyMap mixed = KeyMap::ofKeys({VirtualKey::Shift, 12, VirtualKey::Command, 19,
                                         VirtualKey::Option, VirtualKey::Control, 122, 126});
    EXPECT_EQ(mixed.names(),
              (QStringList{"Command", "Option", "Control", "Shift", "F1", "UpArrow", "a",
                           QString::fromUtf8("é")}));

    EXPECT_EQ(KeyMap::ofKeys({VirtualKey::CapsLock}).names(), QStringList{"7-2"});
    EXPECT_EQ(KeyMap::ofKeys({VirtualKey::RightCommand}).names(), QStringList{"6-64"});
    EXPECT_EQ(KeyMap::ofKeys({0, 20, 50, 92}).names(), (QStringList{"q", "\"", "<", "9"}));
}

TEST(KeyMapTest, CombinationsReadAsLinuxWritesThemWhileTheStoredOrderStays)
{
    const auto same = [](const QString &s) { return s; };
    // Pressed in any order, every modifier comes first in Ctrl, Alt, Shift, Super order and
    // a letter reads in capitals.
    const KeyMap all = KeyMap::ofKeys({40, VirtualKey::Shift, VirtualKey::Command, 96,
                                       VirtualKey::Option, VirtualKey::Control, 19});
    EXPECT_EQ(all.displayString(same),
              QString::fromUtf8("Control+Option+Shift+Command+F5+\u00c9+K"));
    EXPECT_EQ(all.names(),
              (QStringList{"Command", "Option", "Control", "Shift", "F5",
                           QString::fromUtf8("\u00e9"), "k"}))
        << "the names in their stored order are unchanged";
    EXPECT_EQ(KeyMap::ofKeys({VirtualKey::Option, VirtualKey::Control}).displayString(same),
              "Control+Option");
    // Unnamed keys keep their position names, named keys their names.
    EXPECT_EQ(KeyMap::ofKeys({VirtualKey::CapsLock, VirtualKey::Command, 36}).displayString(same),
              "Command+Return+7-2");
    EXPECT_EQ(KeyMap().displayString(same), QString());

    // As the user reads it in each language.
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    const KeyMap ctrlAltK = KeyMap::ofKeys({VirtualKey::Option, 40, VirtualKey::Control});
    EXPECT_EQ(ctrlAltK.localizedString(), "Ctrl+Alt+K");
    EXPECT_EQ(KeyDetectionWindow::displayString(all),
              QString::fromUtf8("Ctrl+Alt+Shift+Super+F5+\u00c9+K"));
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("fr")));
    EXPECT_EQ(KeyMap::ofKeys({VirtualKey::Shift, VirtualKey::Control, 12}).localizedString(),
              "Ctrl+Maj+A");
    QOR_StringUtils::removeTranslations();
}

TEST(KeyMapTest, TheNameTableCoversTheNamedPositions)
{
    const auto &table = KeyMap::getKeysName();
    EXPECT_EQ(table.value("4-16"), "Return");
    EXPECT_EQ(table.value("6-128"), "Command");
    EXPECT_EQ(table.value("14-32"), "Suppression");
    EXPECT_EQ(table.value("15-64"), "UpArrow");
    EXPECT_EQ(table.value("8-128"), "NumLock");
    EXPECT_EQ(table.value("2-4"), "&"); // key code 18
    EXPECT_EQ(table.value("1-4"), "@"); // key code 10
    EXPECT_EQ(table.value("8-2"), ","); // keypad, key code 65
    EXPECT_FALSE(table.contains("7-2"));
    EXPECT_EQ(table.size(), 40 + 64);
    EXPECT_EQ(KeyMap::positionName(6, 128), "6-128");
}

TEST(KeyMapTest, KeysFileHoldsOneLinePerRecordInUtf8)
{
    TemporaryHome home;
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder("keys.txt");
    ASSERT_TRUE(KeysFile::save({{"7-2", "x"}, {"10-4", QString::fromUtf8("é")}}, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("10-4 = \xc3\xa9\n7-2 = x"));
}

TEST(KeyMapTest, TheDetectionPanelRecordsWhatUnnamedKeysType)
{
    TemporaryHome home;
    KeyDetectionWindow window;
    window.show();
    MoreInfoView *panel = window.moreInfoView();
    panel->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << "offscreen windows become active";

    // Key code 93 (Yen) has no name: typing with it held records it.
    panel->setKeyMap(KeyMap::ofKeys({93}));
    QTest::keyClick(panel, Qt::Key_Z, Qt::NoModifier);
    EXPECT_EQ(panel->recordedKeys().value("11-32"), "z");
    // A named key is never recorded; a recorded position is not overwritten.
    panel->setKeyMap(KeyMap::ofKeys({93, 0}));
    QTest::keyClick(panel, Qt::Key_Y, Qt::NoModifier);
    EXPECT_EQ(panel->recordedKeys().size(), 1);
    EXPECT_EQ(panel->recordedKeys().value("11-32"), "z");

    QFile file(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder("keys.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("11-32 = z"));

    window.showKeys(KeyMap::ofKeys({96, VirtualKey::Command}));
    EXPECT_EQ(window.informationText(), "Command+F5");
    window.showKeys({});
    EXPECT_EQ(window.informationText(), "None");
}

TEST(KeyMapTest, X11KeycodesMapToTheKeyInTheSamePlace)
{
    // X keycode = evdev code + 8.
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(133), VirtualKey::Command); // left Super
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(134), VirtualKey::RightCommand);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(64), VirtualKey::Option); // left Alt
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(108), VirtualKey::RightOption);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(37), VirtualKey::Control);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(105), VirtualKey::RightControl);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(50), VirtualKey::Shift);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(62), VirtualKey::RightShift);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(66), VirtualKey::CapsLock);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(38), 0); // A
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(39), 1); // S
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(56), 11); // B
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(10), 18); // 1
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(36), 36); // Return
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(65), 49); // Space
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(22), 51); // Backspace
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(9), 53); // Escape
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(67), 122); // F1
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(71), 96); // F5
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(111), 126); // Up
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(119), 117); // forward Delete
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(8), -1);
    EXPECT_EQ(X11KeyCodes::virtualKeyCode(300), -1);

    // No two keys of the main block share a code.
    QHash<int, int> seen;
    for (int x11 = 8; x11 < 136; ++x11) {
        const int code = X11KeyCodes::virtualKeyCode(x11);
        if (code < 0 || x11 == 107 || x11 == 78 || x11 == 127) // Print, Scroll Lock, Pause
            continue;
        EXPECT_FALSE(seen.contains(code)) << "X keycodes " << seen.value(code) << " and " << x11;
        seen.insert(code, x11);
    }

    char x11Keymap[32] = {};
    x11Keymap[133 / 8] |= char(1 << (133 % 8));
    x11Keymap[38 / 8] |= char(1 << (38 % 8));
    x11Keymap[8 / 8] |= char(1 << (8 % 8)); // no key: ignored
    EXPECT_EQ(X11KeyCodes::keyMapFromX11Keymap(x11Keymap), KeyMap::ofKeys({55, 0}));
}

TEST(ActivationSettingsTest, ActivationKeyMapAndTapCount)
{
    ActivationSettings settings;
    EXPECT_EQ(settings.definedKeyMap(), KeyMap::ofKeys({VirtualKey::Command}));
    EXPECT_EQ(settings.shortCutsMenuNumPressed(), 3);
    settings.shortCutsMenuRepetition = 2;
    EXPECT_EQ(settings.shortCutsMenuNumPressed(), 7);

    const int modifiers[] = {VirtualKey::Command, VirtualKey::Option, VirtualKey::Control,
                             VirtualKey::Shift, VirtualKey::Fn};
    for (int menu = 0; menu < 5; ++menu) {
        settings.shortCutsMenu = menu;
        EXPECT_EQ(settings.definedKeyMap(), KeyMap::ofKeys({modifiers[menu]}));
    }
    settings.shortCutsMenu = 5;
    EXPECT_TRUE(settings.definedKeyMap().isEmpty());

    const KeyMap personal = KeyMap::ofKeys({VirtualKey::Control, 40});
    settings.shortCutsActivated = 1;
    settings.shortCutsKeyPersonalValues = 1;
    settings.shortCutsMenu = 2;
    EXPECT_EQ(settings.definedKeyMap(), KeyMap::ofKeys({VirtualKey::Control}))
        << "chosen, but no combination stored: the modifier alone";
    settings.shortCutsKeyPersonalValuesData = personal;
    EXPECT_EQ(settings.definedKeyMap(), personal);
    EXPECT_FALSE(settings.tapRecognitionEnabled());
}
