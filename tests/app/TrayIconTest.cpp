#include "app/TrayIcon.h"

#include "fakes/FakePorts.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovrik::app {
namespace {

class TrayIconTest : public testing::Test {
protected:
    fakes::FakePorts m_fake;
    ui::Form m_form{m_fake.windows, ui::SettingsWindowForm()};
};

TEST_F(TrayIconTest, AddNeedsALoadedOwner) {
    TrayIcon icon{m_fake.tray};
    EXPECT_FALSE(icon.Add(m_form));
    EXPECT_FALSE(icon.InstallHandler([](int) {}));
    EXPECT_EQ(m_fake.tray.AddCount(), 0);

    ASSERT_TRUE(m_form.Load());
    EXPECT_TRUE(icon.Add(m_form));
    EXPECT_TRUE(m_fake.tray.HasIcon());
    EXPECT_EQ(m_fake.tray.Owner(), m_form.Id());
    EXPECT_TRUE(m_fake.tray.IconData().empty()); // the owner's own small icon
}

TEST_F(TrayIconTest, TheTipIsCutTo127BytesWithoutSplittingACharacter) {
    ASSERT_TRUE(m_form.Load());
    TrayIcon icon{m_fake.tray};
    ASSERT_TRUE(icon.Add(m_form));

    icon.SetTip(Text(200, 'x'));
    EXPECT_EQ(m_fake.tray.Tip(), Text(127, 'x'));

    icon.SetTip(Text(126, 'x') + "截图");
    EXPECT_EQ(m_fake.tray.Tip(), Text(126, 'x'));

    icon.SetTip("双击调出设置页面,右键弹出操作菜单");
    EXPECT_EQ(m_fake.tray.Tip(), "双击调出设置页面,右键弹出操作菜单");
}

TEST(CutTextTest, CountsDoubleByteCharactersWhole) {
    EXPECT_EQ(CutText("ab截图", 4), "ab截");
    EXPECT_EQ(CutText("ab截图", 5), "ab截");
    EXPECT_EQ(CutText("ab截图", 6), "ab截图");
    EXPECT_EQ(CutText("", 3), "");
    // A lone lead byte at the very end counts as one byte.
    EXPECT_EQ(CutText("ab\xB0", 3), "ab\xB0");
}

TEST_F(TrayIconTest, TheHandlerGetsTheIconsEventsAndTheOwnersEnd) {
    ASSERT_TRUE(m_form.Load());
    TrayIcon icon{m_fake.tray};
    ASSERT_TRUE(icon.Add(m_form));
    std::vector<int> codes;
    ASSERT_TRUE(icon.InstallHandler([&](int code) { codes.push_back(code); }));

    m_fake.windows.FireTray(m_form.Id(), kTrayLeftDoubleClick);
    m_fake.windows.FireTray(m_form.Id(), kTrayRightButtonDown);
    m_fake.windows.FireTray(m_form.Id(), kTrayTaskbarCreated);
    m_form.Destroy();
    EXPECT_EQ(codes, (std::vector<int>{515, 516, 1120, 1130}));
    EXPECT_EQ(m_fake.tray.AddCount(), 1); // not added again when the taskbar comes back
}

TEST_F(TrayIconTest, RemoveUnhooksAndDeletesTheIconOnce) {
    ASSERT_TRUE(m_form.Load());
    std::vector<int> codes;
    {
        TrayIcon icon{m_fake.tray};
        ASSERT_TRUE(icon.Add(m_form));
        ASSERT_TRUE(icon.InstallHandler([&](int code) { codes.push_back(code); }));
        icon.Remove();
        EXPECT_FALSE(m_fake.tray.HasIcon());
        m_fake.windows.FireTray(m_form.Id(), kTrayLeftDoubleClick);
    }
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(m_fake.tray.RemoveCount(), 1);
}

TEST_F(TrayIconTest, TheDestructorRemovesTheIcon) {
    ASSERT_TRUE(m_form.Load());
    {
        TrayIcon icon{m_fake.tray};
        ASSERT_TRUE(icon.Add(m_form));
    }
    EXPECT_FALSE(m_fake.tray.HasIcon());
}

TEST_F(TrayIconTest, TheSweepGoesToTheHost) {
    TrayIcon icon{m_fake.tray};
    icon.RefreshNotificationArea();
    icon.RefreshNotificationArea(true);
    EXPECT_EQ(m_fake.tray.Sweeps(), (std::vector<bool>{false, true}));
}

} // namespace
} // namespace tovrik::app
