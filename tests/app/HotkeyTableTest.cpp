#include "app/HotkeyTable.h"

#include "fakes/FakePorts.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

class HotkeyTableTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_form.Load());
        m_form.On({}, ui::EventKind::Hotkey, [this](const ui::Event& e) { m_unclaimed.push_back(e.code); });
    }

    fakes::FakePorts m_fake;
    ui::Form m_form{m_fake.windows, ui::SettingsWindowForm()};
    HotkeyTable m_table{m_fake.hotkeys};
    std::vector<int> m_unclaimed;
};

TEST_F(HotkeyTableTest, IdZeroIsRefusedWithoutAskingTheSystem) {
    EXPECT_FALSE(m_table.Register(m_form, kModControl, 119, {}, 0));
    EXPECT_TRUE(m_fake.hotkeys.Calls().empty());
}

TEST_F(HotkeyTableTest, HotkeysReachTheirHandlersAndForeignIdsPassOn) {
    int first = 0;
    int second = 0;
    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 119, [&] { ++first; }, 1));
    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 120, [&] { ++second; }, 2));
    m_fake.windows.FireHotkey(m_form.Id(), 2);
    m_fake.windows.FireHotkey(m_form.Id(), 2);
    m_fake.windows.FireHotkey(m_form.Id(), 1);
    m_fake.windows.FireHotkey(m_form.Id(), 77);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(m_unclaimed, (std::vector<int>{77}));
}

TEST_F(HotkeyTableTest, RegisteringAnIdAgainDropsItsOldHotkey) {
    int old = 0;
    int fresh = 0;
    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 119, [&] { ++old; }, 1));
    ASSERT_TRUE(m_table.Register(
        m_form, kModAlt, 'Q', [&] { ++fresh; }, 1));
    ASSERT_EQ(m_fake.hotkeys.Active().size(), 1u);
    EXPECT_EQ(m_fake.hotkeys.Active()[0].virtualKey, 'Q');
    m_fake.windows.FireHotkey(m_form.Id(), 1);
    EXPECT_EQ(old, 0);
    EXPECT_EQ(fresh, 1);
}

TEST_F(HotkeyTableTest, AFailedRegistrationLeavesNoEntry) {
    m_fake.hotkeys.TakeByOtherProgram(kModControl, 119);
    int fired = 0;
    EXPECT_FALSE(m_table.Register(
        m_form, kModControl, 119, [&] { ++fired; }, 1));
    m_fake.windows.FireHotkey(m_form.Id(), 1);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(m_unclaimed, (std::vector<int>{1}));
}

TEST_F(HotkeyTableTest, UnregisterAllReleasesInOrderUnhooksAndAllowsANewStart) {
    int fired = 0;
    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 119, [&] { ++fired; }, 1));
    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 120, [&] { ++fired; }, 2));
    m_fake.hotkeys.ClearCalls();
    m_table.UnregisterAll(m_form);

    ASSERT_EQ(m_fake.hotkeys.Calls().size(), 2u);
    EXPECT_EQ(m_fake.hotkeys.Calls()[0].registration.id, 1);
    EXPECT_EQ(m_fake.hotkeys.Calls()[1].registration.id, 2);
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());
    m_fake.windows.FireHotkey(m_form.Id(), 1);
    EXPECT_EQ(fired, 0);

    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 121, [&] { ++fired; }, 3));
    m_fake.windows.FireHotkey(m_form.Id(), 3);
    EXPECT_EQ(fired, 1);
}

TEST_F(HotkeyTableTest, UnregisterOneKeepsTheEntry) {
    int fired = 0;
    ASSERT_TRUE(m_table.Register(
        m_form, kModControl, 119, [&] { ++fired; }, 1));
    m_table.UnregisterOne(m_form, 1);
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());
    m_fake.windows.FireHotkey(m_form.Id(), 1); // a message still queued from before
    EXPECT_EQ(fired, 1);
}

TEST_F(HotkeyTableTest, DestroyingTheTableReleasesItsHotkeys) {
    {
        HotkeyTable table{m_fake.hotkeys};
        ASSERT_TRUE(table.Register(m_form, kModControl, 119, {}, 1));
    }
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());
    m_fake.windows.FireHotkey(m_form.Id(), 1);
    EXPECT_EQ(m_unclaimed, (std::vector<int>{1}));
}

} // namespace
} // namespace tovrik::app
