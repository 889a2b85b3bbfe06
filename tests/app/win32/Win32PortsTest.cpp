#include "app/win32/Win32AutostartStore.h"
#include "app/win32/Win32HotkeyRegistrar.h"
#include "app/win32/Win32InstanceGuard.h"
#include "app/win32/Win32ProcessControl.h"
#include "app/win32/Win32Shell.h"
#include "ui/Forms.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32WindowSystem.h"
#include "util/Win32Desktop.h"

#include <gtest/gtest.h>

#include <string>

namespace tovrik::app {
namespace {

// A name no other run uses at the same time.
Text UniqueName(TextView prefix) {
    return Text(prefix) + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount64());
}

class NullSink final : public ui::EventSink {
public:
    void OnEvent(const ui::Event&) override {}
    bool OnCloseQuery() override { return true; }
};

TEST(Win32InstanceGuard, TheFirstHolderWinsAndOthersAreRefused) {
    const Text name = UniqueName("TV_OCR_test_");
    Win32InstanceGuard first;
    Win32InstanceGuard second;
    Win32InstanceGuard other;
    EXPECT_TRUE(first.Acquire(name));
    EXPECT_TRUE(first.Acquire(name)) << "holding it already";
    EXPECT_FALSE(second.Acquire(name));
    EXPECT_TRUE(other.Acquire(name + "_other"));
}

TEST(Win32InstanceGuard, TheNameIsFreeAgainOnceTheHolderIsGone) {
    const Text name = UniqueName("TV_OCR_test_");
    {
        Win32InstanceGuard holder;
        ASSERT_TRUE(holder.Acquire(name));
    }
    Win32InstanceGuard next;
    EXPECT_TRUE(next.Acquire(name));
}

TEST(Win32AutostartStore, WritesAQuotedPathUnderTheRunKeyAndDeletesIt) {
    Win32AutostartStore store;
    const Text name = UniqueName("TovrikOcrTest");
    const Text path = "C:\\Program Files\\托维\\TovrikOcr.exe";
    if (!store.SetEntry(name, path)) {
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    }
    EXPECT_TRUE(store.HasEntry(name));

    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                           ui::win32::Wide(name).c_str(), RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(ui::win32::Narrow(value), "\"" + path + "\"");

    EXPECT_TRUE(store.RemoveEntry(name));
    EXPECT_FALSE(store.HasEntry(name));
    EXPECT_FALSE(store.RemoveEntry(name)) << "nothing left to delete";
}

TEST(Win32ProcessControl, StartsCommandsAndReportsWhatCannotStart) {
    EXPECT_TRUE(StartProcess("cmd.exe /c exit 0", {}, SW_HIDE));
    EXPECT_FALSE(StartProcess("C:\\no such folder\\nothing.exe", {}, SW_HIDE));
}

TEST(Win32Shell, RevealsAFileWithExplorerSelectingIt) {
    EXPECT_EQ(RevealCommandLine("C:\\程序\\截图\\1700000000.png"),
              "Explorer /select, \"C:\\程序\\截图\\1700000000.png\"");
}

class Win32Hotkeys : public testing::Test {
protected:
    void SetUp() override {
        TOVRIK_REQUIRE_DESKTOP();
        m_form = m_windows.CreateForm(ui::SettingsWindowForm(), m_sink);
        m_other = m_windows.CreateForm(ui::MainWindowForm(), m_sink);
        ASSERT_NE(m_form, 0u);
    }

    ui::win32::Win32WindowSystem m_windows;
    NullSink m_sink;
    ui::FormId m_form = 0;
    ui::FormId m_other = 0;
    Win32HotkeyRegistrar m_registrar{m_windows};
};

TEST_F(Win32Hotkeys, ACombinationIsHeldOnceUntilReleased) {
    // Ctrl+Alt+Shift+F23: no desktop binds it.
    const unsigned modifiers = kModControl | kModAlt | kModShift;
    ASSERT_TRUE(m_registrar.Register(m_form, 1, modifiers, VK_F23));
    EXPECT_FALSE(m_registrar.Register(m_other, 2, modifiers, VK_F23)) << "taken by the first registration";
    m_registrar.Unregister(m_form, 1);
    EXPECT_TRUE(m_registrar.Register(m_other, 2, modifiers, VK_F23));
    m_registrar.Unregister(m_other, 2);
}

TEST_F(Win32Hotkeys, AFormThatIsGoneRegistersNothing) {
    m_windows.DestroyForm(m_other);
    EXPECT_FALSE(m_registrar.Register(m_other, 3, kModControl | kModAlt | kModShift, VK_F22));
    m_registrar.Unregister(m_other, 3);
}

} // namespace
} // namespace tovrik::app
