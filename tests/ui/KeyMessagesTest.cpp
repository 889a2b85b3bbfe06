#include "ui/KeyMessages.h"

#include "ui/Keyboard.h"

#include <gtest/gtest.h>

namespace tovrik::ui {
namespace {

TEST(KeyMessagesTest, AltWithoutCtrlMakesSystemKeyMessages) {
    // Alt going down alone, a letter with Alt held, and F10 are system keys ...
    EXPECT_EQ(KeyMessageKind(true, kVkAlt, false, false), EventKind::SysKeyDown);
    EXPECT_EQ(KeyMessageKind(true, 'Q', true, false), EventKind::SysKeyDown);
    EXPECT_EQ(KeyMessageKind(false, 'Q', true, false), EventKind::SysKeyUp);
    EXPECT_EQ(KeyMessageKind(false, kVkLeftAlt, true, false), EventKind::SysKeyUp);
    EXPECT_EQ(KeyMessageKind(true, kVkF10, false, false), EventKind::SysKeyDown);
    // ... but not once Ctrl is held, nor Ctrl itself.
    EXPECT_EQ(KeyMessageKind(true, kVkAlt, true, true), EventKind::KeyDown);
    EXPECT_EQ(KeyMessageKind(true, 'A', true, true), EventKind::KeyDown);
    EXPECT_EQ(KeyMessageKind(false, 'A', true, true), EventKind::KeyUp);
    EXPECT_EQ(KeyMessageKind(true, kVkF10, false, true), EventKind::KeyDown);
    EXPECT_EQ(KeyMessageKind(true, kVkControl, true, false), EventKind::KeyDown);
    EXPECT_EQ(KeyMessageKind(true, 'A', false, false), EventKind::KeyDown);
    EXPECT_EQ(KeyMessageKind(false, kVkShift, false, false), EventKind::KeyUp);
}

TEST(KeyMessagesTest, KeyNamesAreSpelledAsWindowsSpellsThem) {
    EXPECT_EQ(StandardKeyName(kVkControl), "Ctrl");
    EXPECT_EQ(StandardKeyName(kVkRightControl), "Ctrl");
    EXPECT_EQ(StandardKeyName(kVkAlt), "Alt");
    EXPECT_EQ(StandardKeyName(kVkShift), "Shift");
    EXPECT_EQ(StandardKeyName('A'), "A");
    EXPECT_EQ(StandardKeyName('7'), "7");
    EXPECT_EQ(StandardKeyName(112), "F1");
    EXPECT_EQ(StandardKeyName(119), "F8");
    EXPECT_EQ(StandardKeyName(135), "F24");
    EXPECT_EQ(StandardKeyName(32), "Space");
    EXPECT_EQ(StandardKeyName(33), "Page Up");
    EXPECT_EQ(StandardKeyName(96), "Num 0");
    EXPECT_EQ(StandardKeyName(220), "\\");
    EXPECT_EQ(StandardKeyName(0xFF), "");
    EXPECT_EQ(StandardKeyName(0), "");
}

} // namespace
} // namespace tovrik::ui
