#pragma once

#include "TempDirectory.h"
#include "app/Application.h"
#include "fakes/FakePorts.h"
#include "files/Files.h"

#include <gtest/gtest.h>

namespace tovrik::app {

inline constexpr TextView kDefaultSettings = "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F9\r\n"
                                             "自助翻译热键=Ctrl+F10\r\n截图并翻译热键=Ctrl+F11\r\n\r\n";

// The application shell on the fake backend, with its program directory in a fresh folder.
class ShellFixture : public testing::Test {
protected:
    [[nodiscard]] Text SettingsPath() const { return files::JoinPath(m_dir.Path(), "ZuDur.ini"); }
    void WriteSettings(TextView text) const { ASSERT_TRUE(files::WriteFile(SettingsPath(), text)); }
    [[nodiscard]] Text ReadSettings() const { return files::ReadFile(SettingsPath()).value_or("<none>"); }
    [[nodiscard]] Text Item(TextView section, TextView key) const { return m_app.Store().ReadItem(section, key); }

    [[nodiscard]] ui::FormId Window() { return m_app.SettingsForm().Id(); }
    [[nodiscard]] const fakes::FakeWindowSystem::Control& Control(TextView name) {
        return m_fake.windows.ControlState(Window(), name);
    }
    [[nodiscard]] bool WindowShown() { return m_app.SettingsForm().IsShown(); }
    // Whether this program holds the hotkey, on the settings window.
    [[nodiscard]] bool Holds(unsigned modifiers, int key) {
        const auto holder = m_fake.hotkeys.Holder(modifiers, key);
        return holder && holder->owner == Window();
    }
    void FireHotkey(unsigned modifiers, int key) {
        const auto holder = m_fake.hotkeys.Holder(modifiers, key);
        ASSERT_TRUE(holder.has_value());
        m_fake.windows.FireHotkey(holder->owner, holder->id);
    }
    // Focus into the box, the keys pressed in order and released in reverse, focus out.
    void TypeHotkey(TextView box, std::initializer_list<int> keys) {
        m_fake.windows.Focus(Window(), box);
        for (const int key : keys) {
            m_fake.windows.PressKey(Window(), key);
        }
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
            m_fake.windows.ReleaseKey(Window(), *key);
        }
        m_fake.windows.Focus(Window(), "恢复默认");
    }

    TempDirectory m_dir;
    fakes::FakePorts m_fake;
    Application m_app{m_fake.Ports(), m_dir.Path()};
};

} // namespace tovrik::app
