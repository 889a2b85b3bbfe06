#include "app/SettingsWindow.h"

#include "app/Autostart.h"
#include "app/HotkeyText.h"
#include "app/Restart.h"
#include "app/StatusPictures.h"
#include "ui/Forms.h"

namespace tovrik::app {

namespace {

constexpr ui::Colour kFrameGrey = 0xC0C0C0;
constexpr ui::Colour kFrameFocused = 0xFF0000; // 0x00BBGGRR: blue
constexpr TextView kHintLabel = "透明标签_热键提示";
constexpr TextView kNoHotkeysSet = "未设置热键: 在上面的框里按下组合键即可设置";
constexpr TextView kConflictWarning = " 热键冲突或无效 ";

// The hotkey rows that are bound and registered; the delayed-capture row never is.
constexpr HotkeyAction kBoundActions[] = {HotkeyAction::CaptureToFile, HotkeyAction::CaptureAndCopy,
                                          HotkeyAction::SelfTranslate, HotkeyAction::CaptureAndTranslate};

// Built in place: the boxes can be neither copied nor moved.
std::array<HotkeyBox, kHotkeyActionCount> MakeBoxes(HotkeyTable& table, const ui::Keyboard& keyboard) {
    return {{{table, keyboard}, {table, keyboard}, {table, keyboard}, {table, keyboard}, {table, keyboard}}};
}

} // namespace

SettingsWindow::SettingsWindow(const Ports& ports, const settings::SettingsStore& settings, const Commands& commands,
                               TextView programDirectory)
    : m_ports(ports), m_settings(settings), m_commands(commands), m_programDirectory(programDirectory),
      m_form(ports.windows, ui::SettingsWindowForm()), m_table(ports.hotkeys),
      m_boxes(MakeBoxes(m_table, ports.keyboard)) {
    WireEvents();
}

HotkeyBox& SettingsWindow::Box(HotkeyAction action) {
    return m_boxes[static_cast<std::size_t>(action)];
}

void SettingsWindow::RegisterHotkeysAtStartup(TextView notice) {
    for (const HotkeyAction action : kBoundActions) {
        // Hotkey ids start at 1: id 0 is refused by the table.
        const int id = static_cast<int>(action) + 1;
        static_cast<void>(
            Box(action).Bind(m_form, RowOf(action).edit, id, true, [this, action] { RunHotkey(action); }));
    }
    LoadSettings();
    const Text unavailable = m_ports.hotkeys.UnavailableHint();
    int registered = 0;
    bool refused = false;
    for (const HotkeyAction action : kBoundActions) {
        HotkeyBox& box = Box(action);
        const Text text = box.BoxText();
        if (text.empty() || text == kNoHotkey) {
            continue;
        }
        box.Enable();
        if (box.IsRegistered()) {
            m_form.SetPicture(RowOf(action).status, OkPicture());
            ++registered;
        } else {
            m_form.SetPicture(RowOf(action).status, FailPicture());
            if (unavailable.empty()) {
                Warn(text + Text(kConflictWarning));
            }
            refused = true;
        }
    }
    if (!notice.empty()) {
        m_form.SetText(kHintLabel, notice);
        m_form.Show();
    } else if (!unavailable.empty()) {
        m_form.SetText(kHintLabel, unavailable);
    } else if (registered > 0) {
        m_form.SetText(kHintLabel, "热键设置完毕!");
    } else if (!refused) {
        m_form.SetText(kHintLabel, kNoHotkeysSet);
    }
}

void SettingsWindow::LoadSettings() {
    for (const HotkeyAction action : kBoundActions) {
        const HotkeyRow& row = RowOf(action);
        m_form.SetText(row.edit, m_settings.ReadItem(kSectionHotkey, row.settingsKey));
    }
    const Text apiKey = m_settings.ReadItem(kSectionOcr, "识别ApiKey");
    const Text secretKey = m_settings.ReadItem(kSectionOcr, "识别SecretKey");
    const Text appId = m_settings.ReadItem(kSectionOcr, "翻译AppId");
    const Text appKey = m_settings.ReadItem(kSectionOcr, "翻译key");
    m_form.SetText("编辑框_识别ApiKey", apiKey);
    m_form.SetText("编辑框_识别SecretKey", secretKey);
    m_form.SetText("编辑框_翻译AppId", appId);
    m_form.SetText("编辑框_翻译key", appKey);
    if (m_commands.setServiceKeys) {
        m_commands.setServiceKeys(appId, appKey, apiKey, secretKey);
    }
    m_form.SetChecked("选择框_开机启动", AutostartEnabled(m_ports.autostart));
    m_form.SetChecked("选择框_截图隐藏", m_settings.ReadFlag(kSectionConfig, "截图时隐藏"));
    m_form.SetChecked("选择框_自动翻译", m_settings.ReadFlag(kSectionOcr, "自动翻译"));
    m_form.SetChecked("选择框_自动朗读", m_settings.ReadFlag(kSectionOcr, "自动朗读"));
}

void SettingsWindow::ReleaseHotkeys() {
    m_table.UnregisterAll(m_form);
}

void SettingsWindow::Warn(TextView message) {
    m_form.SetText(kHintLabel, message);
    m_form.Show();
    m_form.Activate();
    static_cast<void>(
        m_form.Message(message, m_form.Declaration().caption,
                       {.buttons = ui::MessageButtons::Ok, .icon = ui::MessageIcon::Error, .systemModal = true}));
}

void SettingsWindow::WireEvents() {
    for (const HotkeyRow& row : kHotkeyRows) {
        m_form.On(row.edit, ui::EventKind::GotFocus, [this, &row](const ui::Event&) { OnHotkeyBoxGotFocus(row); });
        m_form.On(row.edit, ui::EventKind::LostFocus, [this, &row](const ui::Event&) { OnHotkeyBoxLostFocus(row); });
    }
    WriteFlagOnClick("选择框_自动翻译", kSectionOcr, "自动翻译");
    WriteFlagOnClick("选择框_自动朗读", kSectionOcr, "自动朗读");
    WriteFlagOnClick("选择框_截图隐藏", kSectionConfig, "截图时隐藏");
    m_form.On("选择框_开机启动", ui::EventKind::Click,
              [this](const ui::Event&) { SetAutostart(m_ports.autostart, m_form.GetChecked("选择框_开机启动")); });
    m_form.On("恢复默认", ui::EventKind::Click, [this](const ui::Event&) { OnRestoreDefaults(); });
}

void SettingsWindow::OnHotkeyBoxGotFocus(const HotkeyRow& row) {
    for (const HotkeyRow& other : kHotkeyRows) {
        m_form.SetBorderColour(other.frame, kFrameGrey);
    }
    m_form.SetBorderColour(row.frame, kFrameFocused);
}

void SettingsWindow::OnHotkeyBoxLostFocus(const HotkeyRow& row) {
    // The control's own text: the delayed-capture box is never bound, yet its text is kept.
    const Text text = m_form.GetText(row.edit);
    const bool ok = text != kNoHotkey && Box(row.action).IsRegistered();
    m_form.SetPicture(row.status, ok ? OkPicture() : FailPicture());
    m_settings.WriteItem(kSectionHotkey, row.settingsKey, text);
}

void SettingsWindow::WriteFlagOnClick(TextView checkBox, TextView section, TextView key) {
    m_form.On(checkBox, ui::EventKind::Click, [this, checkBox, section, key](const ui::Event&) {
        m_settings.WriteFlag(section, key, m_form.GetChecked(checkBox));
    });
}

void SettingsWindow::OnRestoreDefaults() {
    const ui::MessageResult answer =
        m_form.Message("恢复默认设置将会重启软件！", "提示", {.buttons = ui::MessageButtons::YesNo});
    if (answer != ui::MessageResult::Yes) {
        return;
    }
    m_settings.WriteDefaults();
    Restart(m_ports.process, m_programDirectory, 1);
}

void SettingsWindow::RunHotkey(HotkeyAction action) const {
    const std::function<void()>* command = nullptr;
    switch (action) {
    case HotkeyAction::CaptureToFile:
        command = &m_commands.captureToFile;
        break;
    case HotkeyAction::CaptureAndCopy:
        command = &m_commands.captureAndCopy;
        break;
    case HotkeyAction::SelfTranslate:
        command = &m_commands.selfTranslate;
        break;
    case HotkeyAction::CaptureAndTranslate:
        command = &m_commands.captureAndTranslate;
        break;
    case HotkeyAction::DelayedCapture:
        return;
    }
    if (command != nullptr && *command) {
        (*command)();
    }
}

} // namespace tovrik::app
