#include "ShellFixture.h"

#include "app/TrayIcon.h"

namespace tovrik::app {
namespace {

// The settings window when no tray shows the icon (stock GNOME, a panel that was closed).
class ReachableWithoutTrayTest : public ShellFixture {
protected:
    ReachableWithoutTrayTest() { WriteSettings(kDefaultSettings); } // not a first run
    void CloseBox() { EXPECT_FALSE(m_fake.windows.CloseBox(Window())); }
};

TEST_F(ReachableWithoutTrayTest, WithoutATrayAtStartTheWindowShowsAndItsCloseBoxMinimises) {
    m_fake.tray.SetHostPresent(false);
    m_app.Start();
    EXPECT_TRUE(WindowShown());
    EXPECT_TRUE(m_fake.tray.HasIcon()) << "the icon waits for a tray";

    CloseBox();
    EXPECT_TRUE(WindowShown());
    EXPECT_EQ(m_app.SettingsForm().State(), ui::WindowState::Minimised);
    m_fake.windows.Minimise(Window());
    EXPECT_TRUE(WindowShown()) << "minimised, not hidden: the taskbar still has it";
}

TEST_F(ReachableWithoutTrayTest, TheTrayGoingAwayBringsTheWindowAndOneComingBackGivesTheTrayRulesBack) {
    m_app.Start();
    ASSERT_FALSE(WindowShown());

    m_fake.tray.SetHostPresent(false);
    m_fake.windows.FireTray(Window(), kTrayHostGone);
    EXPECT_TRUE(WindowShown());
    EXPECT_EQ(m_app.SettingsForm().State(), ui::WindowState::Normal);
    CloseBox();
    EXPECT_TRUE(WindowShown());

    m_fake.tray.SetHostPresent(true);
    m_fake.windows.FireTray(Window(), kTrayHostAppeared);
    CloseBox();
    EXPECT_FALSE(WindowShown()) << "with a tray again the close box hides the window";
}

TEST_F(ReachableWithoutTrayTest, TheTrayGetsTheMenuAndItsOpeningShowsTheCurrentHotkeyOnce) {
    m_app.Start();
    EXPECT_EQ(m_fake.tray.Menu(), "设置");
    EXPECT_EQ(m_fake.tray.MenuOwner(), Window());

    m_fake.windows.FireTray(Window(), kTrayMenuOpening);
    m_fake.windows.FireTray(Window(), kTrayMenuOpening);
    EXPECT_EQ(Control("截图翻译").text, "截图翻译(Ctrl+F11)");
    EXPECT_TRUE(m_fake.windows.PopupMenus().empty()) << "the tray shows a handed-over menu itself";
}

} // namespace
} // namespace tovrik::app
