#include "XdgShortcutTrigger.h"

#include <gtest/gtest.h>

namespace {

std::string trigger(std::initializer_list<int> keys)
{
    return XdgShortcutTrigger::fromKeyMap(KeyMap::ofKeys(keys))
        .value_or(QStringLiteral("-"))
        .toStdString();
}

} // namespace

TEST(XdgShortcutTriggerTest, WritesModifiersInTheFormatsOrderThenTheKeysym)
{
    // Super+Shift+Alt+Ctrl in any order, left or right.
    EXPECT_EQ(trigger({VirtualKey::Command, VirtualKey::Shift, VirtualKey::Option,
                       VirtualKey::RightControl, 40}),
              "CTRL+ALT+SHIFT+LOGO+k");
    EXPECT_EQ(trigger({VirtualKey::RightCommand, VirtualKey::Space}), "LOGO+space");
    EXPECT_EQ(trigger({VirtualKey::Control, 122}), "CTRL+F1");
    EXPECT_EQ(trigger({VirtualKey::Option, 116}), "ALT+Page_Up");
    EXPECT_EQ(trigger({VirtualKey::Control, 18}), "CTRL+1");
    EXPECT_EQ(trigger({VirtualKey::Control, 92}), "CTRL+KP_9");
    EXPECT_EQ(trigger({123}), "Left");
    // Caps Lock is never part of a combination that is compared.
    EXPECT_EQ(trigger({VirtualKey::CapsLock, VirtualKey::Control, 0}), "CTRL+a");
}

TEST(XdgShortcutTriggerTest, CombinationsTheFormatCannotWriteHaveNoTrigger)
{
    EXPECT_EQ(trigger({VirtualKey::Control, VirtualKey::Option}), "-"); // modifiers alone
    EXPECT_EQ(trigger({VirtualKey::Control, 0, 1}), "-"); // two keys
    EXPECT_EQ(trigger({VirtualKey::Fn, 0}), "-"); // fn has no keysym
    EXPECT_EQ(trigger({VirtualKey::Control, 94}), "-"); // a key without a name here
    EXPECT_EQ(trigger({}), "-");
}
