#include "app/win32/Win32TrayHost.h"
#include "ui/Forms.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32WindowSystem.h"
#include "util/Win32Desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace tovrik::app {
namespace {

class TraySink final : public ui::EventSink {
public:
    std::vector<int> codes;
    void OnEvent(const ui::Event& event) override {
        if (event.kind == ui::EventKind::TrayNotify) {
            codes.push_back(event.code);
        }
    }
    bool OnCloseQuery() override { return true; }
};

TEST(Win32TrayRecord, IsTheVersionTwoRecordWithTheProgramsFields) {
    TOVRIK_REQUIRE_DESKTOP();
    ui::win32::Win32WindowSystem windows;
    const Win32TrayHost host(windows);
    const NOTIFYICONDATAW& record = host.Record();
    EXPECT_EQ(record.cbSize, NOTIFYICONDATAW_V2_SIZE);
    EXPECT_EQ(record.uID, 1u);
    EXPECT_EQ(record.uFlags, 0x17u);
    EXPECT_EQ(record.uCallbackMessage, 11685u);
    EXPECT_EQ(record.uTimeout, 10000u);
    EXPECT_EQ(record.szInfo[0], L'\0') << "no balloon";
    EXPECT_NE(host.TaskbarCreatedMessage(), 0u);
}

class Win32Tray : public testing::Test {
protected:
    void SetUp() override {
        TOVRIK_REQUIRE_DESKTOP();
        m_form = m_windows.CreateForm(ui::SettingsWindowForm(), m_sink);
        ASSERT_NE(m_form, 0u);
        m_window = m_windows.WindowOf(m_form);
    }

    ui::win32::Win32WindowSystem m_windows;
    TraySink m_sink;
    ui::FormId m_form = 0;
    HWND m_window = nullptr;
    Win32TrayHost m_host{m_windows};
};

TEST_F(Win32Tray, AddingTheIconHooksTheOwnerWithItsProperties) {
    // Without a notification area the shell refuses the icon; the hook is there regardless.
    static_cast<void>(m_host.AddIcon(m_form, {}));
    EXPECT_EQ(m_host.Record().hWnd, m_window);
    EXPECT_EQ(m_host.Record().hIcon, reinterpret_cast<HICON>(SendMessageW(m_window, WM_GETICON, ICON_SMALL, 0)))
        << "the owner's small icon";
    EXPECT_NE(GetPropW(m_window, L"WinProc"), nullptr);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(m_window, L"CallbackMessage")), 11685u);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(m_window, L"TaskbarCreatedMessage")), m_host.TaskbarCreatedMessage());
    EXPECT_NE(GetPropW(m_window, L"Exec Event"), nullptr);

    EXPECT_EQ(SendMessageW(m_window, 11685, 1, WM_LBUTTONDBLCLK), 0);
    SendMessageW(m_window, 11685, 1, WM_RBUTTONDOWN);
    SendMessageW(m_window, m_host.TaskbarCreatedMessage(), 0, 0);
    EXPECT_THAT(m_sink.codes, testing::ElementsAre(515, 516, 1120));
}

TEST_F(Win32Tray, RemovingTheIconGivesTheOwnerItsProcedureBack) {
    static_cast<void>(m_host.AddIcon(m_form, {}));
    m_host.RemoveIcon();
    EXPECT_EQ(GetPropW(m_window, L"WinProc"), nullptr);
    EXPECT_EQ(GetPropW(m_window, L"Exec Event"), nullptr);
    SendMessageW(m_window, 11685, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m_sink.codes.empty());
    SendMessageW(m_window, WM_HOTKEY, 1, 0);
    EXPECT_TRUE(IsWindow(m_window)) << "the form still answers its own messages";
}

TEST_F(Win32Tray, TheTipKeepsAtMost127Characters) {
    static_cast<void>(m_host.AddIcon(m_form, {}));
    m_host.SetTip(Text(200, 'x'));
    EXPECT_EQ(std::wstring(m_host.Record().szTip), std::wstring(127, L'x'));
    m_host.SetTip("双击调出设置页面,右键弹出操作菜单");
    EXPECT_EQ(ui::win32::Narrow(m_host.Record().szTip), "双击调出设置页面,右键弹出操作菜单");
    m_host.RemoveIcon();
}

TEST_F(Win32Tray, AFormThatIsGoneGetsNoIcon) {
    m_windows.DestroyForm(m_form);
    EXPECT_FALSE(m_host.AddIcon(m_form, {}));
}

} // namespace
} // namespace tovrik::app
