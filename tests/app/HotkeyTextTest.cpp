#include "app/HotkeyText.h"

#include "app/HotkeyRegistrar.h"

#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

TEST(HotkeyTextTest, KeyNamesMapToCodesWithEachRowsOwnComparison) {
    // Folded to lower case: any spelling of the modifiers.
    EXPECT_EQ(KeyCodeOfPart("Ctrl"), 17);
    EXPECT_EQ(KeyCodeOfPart("CTRL"), 17);
    EXPECT_EQ(KeyCodeOfPart("Shift"), 16);
    EXPECT_EQ(KeyCodeOfPart("Alt"), 18);
    EXPECT_EQ(KeyCodeOfPart("Win"), 91);
    EXPECT_EQ(KeyCodeOfPart("PageUp"), 33);
    EXPECT_EQ(KeyCodeOfPart("右Shift"), 161);
    // Folded to upper case: letters and function keys.
    EXPECT_EQ(KeyCodeOfPart("A"), 65);
    EXPECT_EQ(KeyCodeOfPart("z"), 90);
    EXPECT_EQ(KeyCodeOfPart("F1"), 112);
    EXPECT_EQ(KeyCodeOfPart("f16"), 127);
    EXPECT_EQ(KeyCodeOfPart("左ctrl"), 162);
    // Exact.
    EXPECT_EQ(KeyCodeOfPart("0"), 48);
    EXPECT_EQ(KeyCodeOfPart("9"), 57);
    EXPECT_EQ(KeyCodeOfPart("Tab"), 9);
    EXPECT_EQ(KeyCodeOfPart("tab"), 0);
    EXPECT_EQ(KeyCodeOfPart("空格"), 32);
    EXPECT_EQ(KeyCodeOfPart("退格"), 8);
    // Either case.
    EXPECT_EQ(KeyCodeOfPart("CapsLock"), 20);
    EXPECT_EQ(KeyCodeOfPart("SCROLLLOCK"), 145);
}

TEST(HotkeyTextTest, NamesOutsideTheTableGiveZero) {
    // Windows spells these "Space" and "Page Up"; the table knows neither spelling.
    EXPECT_EQ(KeyCodeOfPart("Space"), 0);
    EXPECT_EQ(KeyCodeOfPart("Page Up"), 0);
    EXPECT_EQ(KeyCodeOfPart("F17"), 0);
    EXPECT_EQ(KeyCodeOfPart("AB"), 0);
    EXPECT_EQ(KeyCodeOfPart("~"), 0);
    EXPECT_EQ(KeyCodeOfPart(""), 0);
    EXPECT_EQ(KeyCodeOfPart("无"), 0);
}

TEST(HotkeyTextTest, ModifiersComeFromTheModifierParts) {
    EXPECT_EQ(HotkeyModifiers("Ctrl+F8"), kModControl);
    EXPECT_EQ(HotkeyModifiers("Ctrl+Alt+A"), kModControl | kModAlt);
    EXPECT_EQ(HotkeyModifiers("Alt+Q"), kModAlt);
    EXPECT_EQ(HotkeyModifiers("Ctrl+Alt+Shift+Z"), kModControl | kModAlt | kModShift);
    EXPECT_EQ(HotkeyModifiers("F8"), 0u);
    EXPECT_EQ(HotkeyModifiers("无"), 0u);
    // A part given twice stays the one modifier (adding the flags would make Ctrl twice Shift).
    EXPECT_EQ(HotkeyModifiers("Ctrl+Ctrl+A"), kModControl);
}

TEST(HotkeyTextTest, TheKeyIsTheFirstPartThatIsNoModifier) {
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+F10"), 121);
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+Alt+A"), 65);
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+F8"), 119);
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+X+A"), 88);
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+Alt"), 0);
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+"), 0);
    // A part missing from the table ends the search.
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+Space"), 0);
    EXPECT_EQ(HotkeyVirtualKey("Ctrl+Page Up+A"), 0);
}

} // namespace
} // namespace tovrik::app
