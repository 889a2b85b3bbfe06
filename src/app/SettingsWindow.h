#pragma once

#include "app/Commands.h"
#include "app/HotkeyAction.h"
#include "app/HotkeyBox.h"
#include "app/HotkeyTable.h"
#include "app/Ports.h"
#include "settings/SettingsStore.h"
#include "text/Types.h"
#include "ui/Form.h"

#include <array>

namespace tovrik::app {

// Settings sections.
inline constexpr TextView kSectionHotkey = "Hotkey";
inline constexpr TextView kSectionOcr = "OCR";
inline constexpr TextView kSectionConfig = "Config";

// The settings window: its form, the hotkey boxes and the hotkey table that it owns, and the
// events of its hotkey rows, option boxes and restore-defaults button.
class SettingsWindow {
public:
    SettingsWindow(const Ports& ports, const settings::SettingsStore& settings, const Commands& commands,
                   TextView programDirectory);
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    [[nodiscard]] ui::Form& Form() { return m_form; }
    [[nodiscard]] HotkeyBox& Box(HotkeyAction action);

    // Binds the hotkey boxes, loads the settings into the window, registers every hotkey that
    // has a text (warning about each one refused) and says so in the hint line: "热键设置完毕!"
    // only when some hotkey was set. A notice (what became of the settings file) takes the hint
    // line instead, with the window shown, so that the user sees it.
    void RegisterHotkeysAtStartup(TextView notice = {});
    // Fills the boxes from the settings file and the autostart entry, and hands the keys over.
    void LoadSettings();
    // Unregisters every hotkey and unhooks the window.
    void ReleaseHotkeys();
    // Hint line, window to the front, system-modal error box.
    void Warn(TextView message);

private:
    void WireEvents();
    void OnHotkeyBoxGotFocus(const HotkeyRow& row);
    void OnHotkeyBoxLostFocus(const HotkeyRow& row);
    void WriteFlagOnClick(TextView checkBox, TextView section, TextView key);
    void OnRestoreDefaults();
    void RunHotkey(HotkeyAction action) const;

    Ports m_ports;
    const settings::SettingsStore& m_settings;
    const Commands& m_commands;
    Text m_programDirectory;
    // Declared before the table and boxes, which hook it and are destroyed first.
    ui::Form m_form;
    HotkeyTable m_table;
    std::array<HotkeyBox, kHotkeyActionCount> m_boxes;
};

} // namespace tovrik::app
