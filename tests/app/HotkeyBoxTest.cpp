#include "app/HotkeyBox.h"

#include "app/HotkeyTable.h"
#include "fakes/FakePorts.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovrik::app {
namespace {

constexpr int kCtrl = ui::kVkControl;
constexpr int kAlt = ui::kVkAlt;
constexpr TextView kBox = "编辑框_截图";
constexpr TextView kOtherBox = "编辑框_截屏并复制";

class HotkeyBoxTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_form.Load());
        ASSERT_TRUE(m_box.Bind(m_form, kBox, 1, true, [this] { ++m_fired; }));
        m_fake.windows.Focus(m_form.Id(), kBox);
    }

    // Presses the keys in order and notes the box text after each.
    std::vector<Text> Press(std::initializer_list<int> keys) {
        std::vector<Text> shown;
        for (const int key : keys) {
            m_fake.windows.PressKey(m_form.Id(), key);
            shown.push_back(m_form.GetText(kBox));
        }
        return shown;
    }
    Text Release(int key) {
        m_fake.windows.ReleaseKey(m_form.Id(), key);
        return m_form.GetText(kBox);
    }
    [[nodiscard]] bool Holds(unsigned modifiers, int key) const {
        const auto holder = m_fake.hotkeys.Holder(modifiers, key);
        return holder && holder->owner == m_form.Id() && holder->id == 1;
    }

    fakes::FakePorts m_fake;
    ui::Form m_form{m_fake.windows, ui::SettingsWindowForm()};
    HotkeyTable m_table{m_fake.hotkeys};
    HotkeyBox m_box{m_table, m_fake.keyboard};
    int m_fired = 0;
};

TEST_F(HotkeyBoxTest, CtrlAltAShowsEachStepAndRegistersOnRelease) {
    EXPECT_EQ(Press({kCtrl, kAlt, 'A'}), (std::vector<Text>{"Ctrl+", "Ctrl+Alt+", "Ctrl+Alt+A"}));
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());

    EXPECT_EQ(Release('A'), "Ctrl+Alt+A");
    EXPECT_TRUE(Holds(kModControl | kModAlt, 65));
    EXPECT_TRUE(m_box.IsRegistered());
    EXPECT_EQ(m_box.AppliedText(), "Ctrl+Alt+A");
    EXPECT_EQ(m_box.Modifiers(), kModControl | kModAlt);
    EXPECT_EQ(m_box.VirtualKey(), 65);

    // Letting go of the modifiers keeps the combination.
    EXPECT_EQ(Release(kAlt), "Ctrl+Alt+A");
    EXPECT_EQ(Release(kCtrl), "Ctrl+Alt+A");
    EXPECT_EQ(m_fake.hotkeys.Active().size(), 1u);

    m_fake.windows.FireHotkey(m_form.Id(), 1);
    EXPECT_EQ(m_fired, 1);
}

TEST_F(HotkeyBoxTest, AModifierAloneFallsBackToNoHotkeyOrTheRegisteredOne) {
    EXPECT_EQ(Press({kCtrl}), (std::vector<Text>{"Ctrl+"}));
    EXPECT_EQ(Release(kCtrl), "无");
    EXPECT_TRUE(m_fake.hotkeys.Calls().empty());

    Press({kCtrl, 119});
    Release(119);
    Release(kCtrl);
    ASSERT_TRUE(Holds(kModControl, 119));

    EXPECT_EQ(Press({kCtrl, 16}), (std::vector<Text>{"Ctrl+", "Ctrl+Shift+"}));
    Release(16);
    EXPECT_EQ(Release(kCtrl), "Ctrl+F8");
    EXPECT_TRUE(Holds(kModControl, 119));
}

TEST_F(HotkeyBoxTest, CtrlF10RegistersCode121) {
    EXPECT_EQ(Press({kCtrl, 121}), (std::vector<Text>{"Ctrl+", "Ctrl+F10"}));
    Release(121);
    EXPECT_TRUE(Holds(kModControl, 121));
}

TEST_F(HotkeyBoxTest, AltAndALetterTakeTheSystemKeyPath) {
    EXPECT_EQ(Press({kAlt, 'Q'}), (std::vector<Text>{"Alt+", "Alt+Q"}));
    EXPECT_EQ(Release('Q'), "Alt+Q");
    EXPECT_TRUE(Holds(kModAlt, 'Q'));
    EXPECT_EQ(Release(kAlt), "Alt+Q"); // the fallback is the registered text
}

TEST_F(HotkeyBoxTest, KeysWithoutATableRowRegisterCodeZero) {
    // Windows names these "Space" and "Page Up", which the key-name table does not know.
    for (const int key : {32, 33}) {
        Press({kCtrl, key});
        Release(key);
        Release(kCtrl);
        ASSERT_FALSE(m_fake.hotkeys.Calls().empty());
        const auto& last = m_fake.hotkeys.Calls().back();
        EXPECT_TRUE(last.registering);
        EXPECT_EQ(last.registration.modifiers, kModControl);
        EXPECT_EQ(last.registration.virtualKey, 0);
    }
}

TEST_F(HotkeyBoxTest, ApplyingAgainReplacesTheOldRegistration) {
    Press({kCtrl, 119});
    Release(119);
    Release(kCtrl);
    Press({kCtrl, 120});
    Release(120);
    Release(kCtrl);
    ASSERT_EQ(m_fake.hotkeys.Active().size(), 1u);
    EXPECT_TRUE(Holds(kModControl, 120));
    EXPECT_EQ(m_form.GetText(kBox), "Ctrl+F9");
}

TEST_F(HotkeyBoxTest, LosingTheFocusRestoresOrAppliesTheText) {
    // Half a combination, nothing registered: back to the text the box had when it got focus.
    m_fake.windows.Focus(m_form.Id(), {});
    m_form.SetText(kBox, "Ctrl+F8");
    m_fake.windows.Focus(m_form.Id(), kBox);
    Press({kCtrl});
    m_fake.windows.Focus(m_form.Id(), kOtherBox);
    EXPECT_EQ(m_form.GetText(kBox), "Ctrl+F8");
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());
    m_fake.keyboard.Release(kCtrl);

    // "无" stays "无".
    m_form.SetText(kBox, "无");
    m_fake.windows.Focus(m_form.Id(), kBox);
    m_fake.windows.Focus(m_form.Id(), kOtherBox);
    EXPECT_EQ(m_form.GetText(kBox), "无");

    // A complete combination whose key is still held is applied when the focus goes.
    m_fake.windows.Focus(m_form.Id(), kBox);
    Press({kCtrl, 'B'});
    m_fake.windows.Focus(m_form.Id(), kOtherBox);
    EXPECT_TRUE(Holds(kModControl, 'B'));
    m_fake.keyboard.Release('B');
    m_fake.keyboard.Release(kCtrl);

    // Registered, then half a combination: the registered text comes back.
    m_fake.windows.Focus(m_form.Id(), kBox);
    Press({kAlt});
    EXPECT_EQ(m_form.GetText(kBox), "Alt+");
    m_fake.windows.Focus(m_form.Id(), kOtherBox);
    EXPECT_EQ(m_form.GetText(kBox), "Ctrl+B");
}

TEST_F(HotkeyBoxTest, ADisabledBoxShowsKeysButRegistersNothing) {
    m_box.SetEnabled(false);
    Press({kCtrl, 'A'});
    Release('A');
    EXPECT_EQ(m_form.GetText(kBox), "Ctrl+A");
    EXPECT_TRUE(m_fake.hotkeys.Calls().empty());

    m_box.Enable();
    EXPECT_TRUE(Holds(kModControl, 'A'));
}

TEST_F(HotkeyBoxTest, TheSameCombinationInASecondBoxIsRefused) {
    HotkeyBox second{m_table, m_fake.keyboard};
    ASSERT_TRUE(second.Bind(m_form, kOtherBox, 2, true, {}));
    m_form.SetText(kBox, "Ctrl+F8");
    m_form.SetText(kOtherBox, "Ctrl+F8");
    m_box.Apply();
    second.Apply();
    EXPECT_TRUE(m_box.IsRegistered());
    EXPECT_FALSE(second.IsRegistered());
    EXPECT_EQ(second.AppliedText(), "Ctrl+F8");
    EXPECT_TRUE(Holds(kModControl, 119));
}

TEST_F(HotkeyBoxTest, AnEmptyBoxRegistersNothingAndAnUnboundBoxNeverDoes) {
    m_form.SetText(kBox, "");
    m_box.Apply();
    EXPECT_FALSE(m_box.IsRegistered());
    EXPECT_TRUE(m_fake.hotkeys.Calls().empty());

    HotkeyBox unbound{m_table, m_fake.keyboard};
    unbound.Enable();
    EXPECT_FALSE(unbound.IsRegistered());
    EXPECT_EQ(unbound.BoxText(), "");
}

TEST_F(HotkeyBoxTest, KeysReachOnlyTheBoxThatHasThem) {
    m_fake.windows.Focus(m_form.Id(), "编辑框_识别ApiKey");
    Press({kCtrl, 'A'});
    Release('A');
    EXPECT_EQ(m_form.GetText(kBox), "Ctrl+Alt+A"); // the form's initial text
    EXPECT_EQ(m_form.GetText("编辑框_识别ApiKey"), "");
}

} // namespace
} // namespace tovrik::app
