#include "ui/linux/KeyCodes.h"
#include "ui/Keyboard.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace tovrik::ui {
namespace {

TEST(KeyCodesTest, KeysOfTheHotkeyGrammarMapToTheirWindowsCodes) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_a), 'A');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Z), 'Z');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_7), '7');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F8), 119);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F11), 122);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F24), 135);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_space), 32);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Prior), 33);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Escape), 27);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Return), 13);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_5), 101);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Add), 107);
}

TEST(KeyCodesTest, ShiftedSymbolsGiveTheCodeOfTheirKey) {
    // Windows names the key, not the character: Shift+1 is still key "1".
    EXPECT_EQ(VirtualKeyFromKeysym(XK_exclam), '1');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_parenright), '0');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_colon), 186);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_asciitilde), 192);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_braceright), 221);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_ISO_Left_Tab), 9);
}

TEST(KeyCodesTest, ModifiersKeepTheirSideAndKeyMessagesCarryTheGenericCode) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Control_L), kVkLeftControl);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Control_R), kVkRightControl);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Shift_R), kVkRightShift);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Alt_L), kVkLeftAlt);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_ISO_Level3_Shift), kVkRightAlt);
    EXPECT_EQ(MessageVirtualKey(kVkLeftControl), kVkControl);
    EXPECT_EQ(MessageVirtualKey(kVkRightShift), kVkShift);
    EXPECT_EQ(MessageVirtualKey(kVkRightAlt), kVkAlt);
    EXPECT_EQ(MessageVirtualKey('A'), 'A');
}

TEST(KeyCodesTest, UnknownSymbolsAndCodesGiveZero) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_dead_acute), 0);
    EXPECT_EQ(VirtualKeyFromKeysym(0), 0);
    EXPECT_EQ(KeysymFromVirtualKey(0), 0u);
    EXPECT_EQ(KeysymFromVirtualKey(255), 0u);
}

TEST(KeyCodesTest, EveryGrabbableCodeComesBackFromItsSymbol) {
    // A hotkey is grabbed by the symbol of its code and recognised by the code of the symbol
    // pressed: both directions must agree for every code that has a symbol.
    int mapped = 0;
    for (int code = 1; code < 256; ++code) {
        const unsigned long symbol = KeysymFromVirtualKey(code);
        if (symbol == 0) {
            continue;
        }
        ++mapped;
        const int back = VirtualKeyFromKeysym(symbol);
        EXPECT_EQ(MessageVirtualKey(back), MessageVirtualKey(code)) << "code " << code;
    }
    EXPECT_GT(mapped, 100);
}

} // namespace
} // namespace tovrik::ui
