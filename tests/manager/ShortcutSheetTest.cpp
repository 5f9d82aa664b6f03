#include "ItemEditorSheet.h"
#include "ShortcutCaptureSheet.h"
#include "platform/KeyMapSource.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ShortcutSheet, TakesACombinationHeldStillForTwoSecondsAndShowsItWhenReleased)
{
    FakeKeyMapSource keyboard;
    ShortcutCaptureSheet sheet(&keyboard);
    sheet.start(std::nullopt);
    const KeyMap controlK = KeyMap::ofKeys({VirtualKey::Control, 40});

    keyboard.setMap(KeyMap::ofKeys({VirtualKey::Control}));
    for (int i = 0; i < 15; ++i)
        sheet.sample();
    keyboard.setMap(controlK); // changed before the 20th sample: the count starts again
    for (int i = 0; i < ShortcutCaptureSheet::SamplesToTake; ++i)
        sheet.sample();
    EXPECT_TRUE(sheet.taken().isEmpty()) << "the first sample of a new combination counts none";
    sheet.sample();
    EXPECT_EQ(sheet.taken(), controlK);

    keyboard.setMap(KeyMap::ofKeys({VirtualKey::Shift}));
    sheet.sample();
    EXPECT_EQ(sheet.shownKeys(),
              ShortcutCaptureSheet::keyNames(KeyMap::ofKeys({VirtualKey::Shift})));
    keyboard.releaseAll();
    sheet.sample();
    EXPECT_EQ(sheet.shownKeys(), ShortcutCaptureSheet::keyNames(controlK));
    EXPECT_EQ(sheet.taken(), controlK);

    // Take: the keys down at the next sample, at once.
    keyboard.setMap(KeyMap::ofKeys({VirtualKey::Option, 12}));
    sheet.takeNow();
    sheet.sample();
    EXPECT_EQ(sheet.taken(), KeyMap::ofKeys({VirtualKey::Option, 12}));
}

TEST(ItemEditor, TheAssignButtonClearsASetShortcutAndCapturesOneOtherwise)
{
    ItemEditorSheet editor;
    const KeyMap keys = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 40});
    QStringList script = {"assign", "ok"};
    QObject::connect(&editor, &ItemEditorSheet::running, &editor, [&] {
        const QString step = script.takeFirst();
        if (step == "assign")
            editor.assignButton()->click();
        else if (step == "ok")
            editor.accept();
        else
            editor.reject();
    });
    int captures = 0;
    // A shortcut is set: the button clears it without asking for keys.
    std::optional<QVariantMap> edited =
        editor.edit({{"x", 2}, {">", keys.toData()}, {"H", 1}}, false, true, [&] {
            ++captures;
            return std::optional<KeyMap>(keys);
        });
    ASSERT_TRUE(edited);
    EXPECT_FALSE(edited->contains(">"));
    EXPECT_EQ(captures, 0);

    // None set: the capture sheet runs, and its keys are kept; Cancel keeps nothing.
    script = {"assign", "ok"};
    edited = editor.edit({{"x", 2}}, false, true, [&] {
        ++captures;
        return std::optional<KeyMap>(keys);
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(captures, 1);
    EXPECT_EQ(KeyMap::fromData(edited->value(">").toByteArray()), keys);
    script = {"cancel"};
    EXPECT_FALSE(editor.edit({{"x", 2}}, false, true, {}));
}
