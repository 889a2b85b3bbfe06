#include "ui/win32/Win32WindowSystem.h"

#include "RecordingSink.h"
#include "ui/Forms.h"
#include "ui/win32/PictureView.h"
#include "util/Win32Desktop.h"
#include <ole2.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tovrik::ui::win32 {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

// A 4 x 3 picture in the capture layout: a 44-byte info header, pixels at offset 58.
Bytes CaptureBmp() {
    Bytes bmp(58 + 4 * 3 * 4, '\0');
    auto put32 = [&](std::size_t offset, std::uint32_t value) { std::memcpy(bmp.data() + offset, &value, 4); };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bmp.size()));
    put32(10, 58);
    put32(14, 44);
    put32(18, 4);
    put32(22, 3);
    bmp[26] = 1;
    bmp[28] = 32;
    put32(34, 48);
    std::memset(bmp.data() + 58, 0x7F, 48);
    return bmp;
}

class Win32Forms : public testing::Test {
protected:
    void SetUp() override {
        TOVRIK_REQUIRE_DESKTOP();
        m_form = m_windows.CreateForm(SettingsWindowForm(), m_sink);
        ASSERT_NE(m_form, 0u);
    }
    [[nodiscard]] HWND Control(TextView name) const { return m_windows.ControlWindow(m_form, name); }
    [[nodiscard]] std::vector<EventKind> Kinds() const {
        std::vector<EventKind> kinds;
        for (const Event& event : m_sink.events) {
            kinds.push_back(event.kind);
        }
        return kinds;
    }
    void ShowInFront() {
        m_windows.SetVisible(m_form, {}, true);
        m_windows.Activate(m_form);
        testutil::PumpMessages();
    }

    Win32WindowSystem m_windows;
    RecordingSink m_sink;
    FormId m_form = 0;
};

TEST_F(Win32Forms, BuildsTheDeclaredFormHiddenWithControlsAtTheirParentsOffset) {
    EXPECT_FALSE(m_windows.GetVisible(m_form, {}));
    EXPECT_EQ(m_windows.GetText(m_form, {}), "托维OCR设置");
    EXPECT_EQ(m_windows.GetRect(m_form, {}), (Rect{50, 50, 477, 335}));
    EXPECT_EQ(m_windows.GetText(m_form, "编辑框_截图"), "Ctrl+Alt+A");
    EXPECT_EQ(m_windows.GetText(m_form, "退出程序"), "退出程序");
    EXPECT_EQ(m_windows.GetRect(m_form, "编辑框_截图"), (Rect{84, 22, 104, 20}));

    // Inside the group box at (8, 20) of the client area.
    RECT edit{};
    ASSERT_TRUE(GetWindowRect(Control("编辑框_截图"), &edit));
    MapWindowPoints(nullptr, m_windows.WindowOf(m_form), reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_EQ(edit.left, 8 + 84);
    EXPECT_EQ(edit.top, 20 + 22);
    EXPECT_EQ(edit.right - edit.left, 104);
    // Frames, menus and items are kept by the form, not made native controls.
    EXPECT_EQ(Control("编辑框边框_截屏"), nullptr);
    EXPECT_EQ(Control("退出程序"), nullptr);
    EXPECT_EQ(m_windows.GetText(m_form, "no such control"), "");
}

TEST_F(Win32Forms, PropertiesRoundTripInProgramText) {
    m_windows.SetText(m_form, {}, "托维OCR设置程序已在运行!");
    EXPECT_EQ(m_windows.GetText(m_form, {}), "托维OCR设置程序已在运行!");
    m_windows.SetText(m_form, "编辑框_识别ApiKey", "密钥 key\xA1\xA1");
    EXPECT_EQ(m_windows.GetText(m_form, "编辑框_识别ApiKey"), "密钥 key\xA1\xA1");
    m_windows.SetText(m_form, "透明标签_热键提示", "热键设置完毕!");
    EXPECT_EQ(m_windows.GetText(m_form, "透明标签_热键提示"), "热键设置完毕!");
    m_windows.SetText(m_form, "截图翻译", "截图翻译(Ctrl+F11)");
    EXPECT_EQ(m_windows.GetText(m_form, "截图翻译"), "截图翻译(Ctrl+F11)");

    m_windows.SetChecked(m_form, "选择框_自动翻译", true);
    EXPECT_TRUE(m_windows.GetChecked(m_form, "选择框_自动翻译"));
    EXPECT_FALSE(m_windows.GetChecked(m_form, "选择框_自动朗读"));
    m_windows.SetEnabled(m_form, "按钮_申请key", false);
    EXPECT_FALSE(m_windows.GetEnabled(m_form, "按钮_申请key"));
    EXPECT_FALSE(IsWindowEnabled(Control("按钮_申请key")));
    m_windows.SetEnabled(m_form, "退出程序", false);
    EXPECT_FALSE(m_windows.GetEnabled(m_form, "退出程序"));
    m_windows.SetVisible(m_form, "恢复默认", false);
    EXPECT_FALSE(m_windows.GetVisible(m_form, "恢复默认"));
    EXPECT_TRUE(m_windows.GetVisible(m_form, "按钮_申请key")) << "the control's own flag, not the hidden form's";

    m_windows.SetRect(m_form, {}, {50, 50, 477, 310});
    EXPECT_EQ(m_windows.GetRect(m_form, {}), (Rect{50, 50, 477, 310}));
}

TEST_F(Win32Forms, MovedControlsKeepTheirParentsOffsetAndFramesShowTheirColour) {
    m_windows.SetRect(m_form, "编辑框_截图", {84, 30, 100, 20});
    EXPECT_EQ(m_windows.GetRect(m_form, "编辑框_截图"), (Rect{84, 30, 100, 20}));
    RECT edit{};
    ASSERT_TRUE(GetWindowRect(Control("编辑框_截图"), &edit));
    MapWindowPoints(nullptr, m_windows.WindowOf(m_form), reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_EQ(edit.left, 8 + 84);
    EXPECT_EQ(edit.top, 20 + 30);

    // The frame of the first row lies at (8 + 82, 20 + 20) of the client area, drawn by the form.
    ShowInFront();
    m_windows.SetBorderColour(m_form, "编辑框边框_截屏", 0xFF0000);
    UpdateWindow(m_windows.WindowOf(m_form));
    HDC dc = GetDC(m_windows.WindowOf(m_form));
    const COLORREF frame = GetPixel(dc, 8 + 82, 20 + 20 + 12);
    ReleaseDC(m_windows.WindowOf(m_form), dc);
    EXPECT_EQ(frame, 0xFF0000u) << "blue in the 0x00BBGGRR form";
}

TEST_F(Win32Forms, ClicksRaiseClickAndCheckBoxesToggleFirst) {
    bool checkedAtClick = false;
    m_sink.onEvent = [&](const Event& event) {
        if (event.kind == EventKind::Click && event.control == "选择框_开机启动") {
            checkedAtClick = m_windows.GetChecked(m_form, "选择框_开机启动");
        }
    };
    SendMessageW(Control("恢复默认"), BM_CLICK, 0, 0);
    SendMessageW(Control("选择框_开机启动"), BM_CLICK, 0, 0);
    EXPECT_EQ(m_sink.Count(EventKind::Click, "恢复默认"), 1);
    EXPECT_EQ(m_sink.Count(EventKind::Click, "选择框_开机启动"), 1);
    EXPECT_TRUE(checkedAtClick);
}

TEST_F(Win32Forms, TheCloseBoxAsksTheFormAndDestroysOnlyWhenAllowed) {
    m_sink.allowClose = false;
    SendMessageW(m_windows.WindowOf(m_form), WM_CLOSE, 0, 0);
    EXPECT_EQ(m_sink.closeQueries, 1);
    EXPECT_NE(m_windows.WindowOf(m_form), nullptr);
    EXPECT_EQ(m_sink.Count(EventKind::Destroyed), 0);

    m_sink.allowClose = true;
    SendMessageW(m_windows.WindowOf(m_form), WM_CLOSE, 0, 0);
    EXPECT_EQ(m_sink.Count(EventKind::Destroyed), 1);
    EXPECT_EQ(m_windows.WindowOf(m_form), nullptr);
    EXPECT_EQ(m_windows.GetText(m_form, {}), "");
    m_windows.DestroyForm(m_form);
    EXPECT_EQ(m_sink.Count(EventKind::Destroyed), 1) << "a gone form is not destroyed twice";
}

TEST_F(Win32Forms, AHandlerMayDestroyItsOwnForm) {
    m_sink.onEvent = [&](const Event& event) {
        if (event.kind == EventKind::Click) {
            m_windows.DestroyForm(m_form);
        }
    };
    SendMessageW(Control("恢复默认"), BM_CLICK, 0, 0);
    EXPECT_EQ(m_sink.Count(EventKind::Destroyed), 1);
    EXPECT_EQ(m_sink.events.back().kind, EventKind::Destroyed);
}

TEST_F(Win32Forms, MinimisingRaisesSizeChanged) {
    ShowInFront();
    ShowWindow(m_windows.WindowOf(m_form), SW_MINIMIZE);
    testutil::PumpMessages();
    ASSERT_EQ(m_sink.Count(EventKind::SizeChanged), 1);
    EXPECT_EQ(m_windows.GetWindowState(m_form), WindowState::Minimised);
    m_windows.SetWindowState(m_form, WindowState::Normal);
    EXPECT_EQ(m_windows.GetWindowState(m_form), WindowState::Normal);
}

TEST_F(Win32Forms, CapturedEditBoxesRaiseKeysAndIgnoreTyping) {
    EXPECT_FALSE(m_windows.CaptureKeys(m_form, "恢复默认")) << "not an edit box";
    ASSERT_TRUE(m_windows.CaptureKeys(m_form, "编辑框_截图"));
    const HWND box = Control("编辑框_截图");
    SendMessageW(box, WM_KEYDOWN, VK_CONTROL, 0);
    SendMessageW(box, WM_SYSKEYUP, 'Q', 0);
    SendMessageW(box, WM_CHAR, 'x', 0);
    SendMessageW(box, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(m_sink.events.size(), 3u);
    EXPECT_EQ(m_sink.events[0].kind, EventKind::KeyDown);
    EXPECT_EQ(m_sink.events[0].control, "编辑框_截图");
    EXPECT_EQ(m_sink.events[0].virtualKey, VK_CONTROL);
    EXPECT_EQ(m_sink.events[1].kind, EventKind::SysKeyUp);
    EXPECT_EQ(m_sink.events[2].virtualKey, VK_DELETE);
    EXPECT_EQ(m_windows.GetText(m_form, "编辑框_截图"), "Ctrl+Alt+A");

    SendMessageW(Control("编辑框_翻译key"), WM_CHAR, 'x', 0);
    EXPECT_EQ(m_windows.GetText(m_form, "编辑框_翻译key"), "x") << "other boxes still take typing";
}

TEST_F(Win32Forms, MovingTheFocusRaisesLostFocusBeforeGotFocus) {
    ShowInFront();
    SetFocus(Control("编辑框_截图"));
    SetFocus(Control("编辑框_截屏并复制"));
    testutil::PumpMessages();
    std::vector<std::pair<EventKind, Text>> focus;
    for (const Event& event : m_sink.events) {
        if (event.kind == EventKind::GotFocus || event.kind == EventKind::LostFocus) {
            focus.emplace_back(event.kind, event.control);
        }
    }
    EXPECT_THAT(focus, ElementsAre(std::pair(EventKind::GotFocus, Text("编辑框_截图")),
                                   std::pair(EventKind::LostFocus, Text("编辑框_截图")),
                                   std::pair(EventKind::GotFocus, Text("编辑框_截屏并复制"))));
}

TEST_F(Win32Forms, HotkeysAndDeliveredEventsReachTheForm) {
    PostMessageW(m_windows.WindowOf(m_form), WM_HOTKEY, 3, MAKELPARAM(MOD_CONTROL, VK_F9));
    m_windows.WaitProcessingEvents(50);
    m_windows.Deliver(m_form, Event{.kind = EventKind::TrayNotify, .code = 515});
    EXPECT_THAT(Kinds(), ElementsAre(EventKind::Hotkey, EventKind::TrayNotify));
    EXPECT_EQ(m_sink.events[0].code, 3);
    EXPECT_EQ(m_sink.events[1].code, 515);
}

TEST_F(Win32Forms, PictureBoxesShowDecodableImagesOnly) {
    const Bytes bmp = CaptureBmp();
    m_windows.SetPicture(m_form, "状态_截图", bmp);
    EXPECT_EQ(m_windows.GetPicture(m_form, "状态_截图"), bmp);
    EXPECT_TRUE(HasPicture(Control("状态_截图"))) << "the capture layout's 44-byte header is read";
    m_windows.SetPicture(m_form, "状态_截图", "not a picture");
    EXPECT_FALSE(HasPicture(Control("状态_截图")));
}

TEST_F(Win32Forms, TheReportListsFormsAndControlsInUtf8) {
    m_windows.SetText(m_form, "透明标签_热键提示", "一\r\n二");
    const std::string report = m_windows.Report();
    EXPECT_THAT(report, HasSubstr("form \xE8\xAE\xBE\xE7\xBD\xAE\xE7\xAA\x97\xE5\x8F\xA3 visible=0 at=50,50,477,335 "
                                  "caption=")); // 设置窗口
    RECT edit{};
    ASSERT_TRUE(GetWindowRect(Control("编辑框_截图"), &edit));
    const std::string at = std::to_string(edit.left) + "," + std::to_string(edit.top) + ",104,20";
    EXPECT_THAT(report, HasSubstr(".\xE7\xBC\x96\xE8\xBE\x91\xE6\xA1\x86_\xE6\x88\xAA\xE5\x9B\xBE visible=1 "
                                  "enabled=1 checked=0 picture=0 at=" +
                                  at + " text=Ctrl+Alt+A\n")); // 编辑框_截图
    EXPECT_THAT(report, HasSubstr(".\xE9\x80\x80\xE5\x87\xBA\xE7\xA8\x8B\xE5\xBA\x8F visible=1 enabled=1 checked=0 "
                                  "picture=0 at=- text="));                  // 退出程序
    EXPECT_THAT(report, HasSubstr("text=\xE4\xB8\x80\\r\\n\xE4\xBA\x8C\n")); // 一\r\n二
}

TEST_F(Win32Forms, AModalFormRunsUntilItIsGoneWithTheOthersDisabled) {
    RecordingSink donationSink;
    const FormId donation = m_windows.CreateForm(DonationWindowForm(), donationSink);
    ASSERT_NE(donation, 0u);
    const HWND settings = m_windows.WindowOf(m_form);
    bool settingsEnabledDuringModal = true;
    donationSink.onEvent = [&](const Event& event) {
        if (event.kind == EventKind::Destroyed) {
            settingsEnabledDuringModal = IsWindowEnabled(settings) != 0;
        }
    };
    PostMessageW(m_windows.WindowOf(donation), WM_CLOSE, 0, 0);
    m_windows.RunModal(donation);
    EXPECT_EQ(donationSink.Count(EventKind::Destroyed), 1);
    EXPECT_FALSE(settingsEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(settings));
}

TEST_F(Win32Forms, OnlyTheMainWindowIsADropTarget) {
    RecordingSink mainSink;
    const FormId main = m_windows.CreateForm(MainWindowForm(), mainSink);
    ASSERT_NE(main, 0u);
    EXPECT_EQ(RevokeDragDrop(m_windows.WindowOf(main)), S_OK);
    EXPECT_EQ(RevokeDragDrop(m_windows.WindowOf(m_form)), DRAGDROP_E_NOTREGISTERED);
}

} // namespace
} // namespace tovrik::ui::win32
