#pragma once

#include "app/Commands.h"
#include "app/InstanceCommand.h"
#include "app/Ports.h"
#include "app/SettingsWindow.h"
#include "app/TrayIcon.h"
#include "capture/ScreenSource.h"
#include "settings/SettingsStore.h"
#include "text/Types.h"
#include "ui/Form.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tovrik::app {

inline constexpr TextView kInstanceName = "TV_OCR_$$";
inline constexpr TextView kTrayTip = "双击调出设置页面,右键弹出操作菜单";

// The process-wide part of the shell: start-up, the single-instance guard, the tray icon and
// its menu, and the close, minimise and exit rules of the settings window.
class Application {
public:
    Application(const Ports& ports, TextView programDirectory);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Set before Start; the hotkeys and the tray menu run what is set at the time they fire.
    void SetCommands(Commands commands) { m_commands = std::move(commands); }
    // The executable's folder when the settings could not be written there and went to the
    // program directory instead; the first start that way says so. Set before Start.
    void SetUnwritableFolder(Text folder) { m_unwritableFolder = std::move(folder); }

    // This copy was started by a command-line trigger because none ran: the command runs once
    // the start-up sequence is done; should another copy have won the start, it goes there.
    void SetStartCommand(InstanceCommand command) { m_startCommand = command; }

    // Where the screen pictures come from. A Wayland desktop has two sources, which the status
    // strip names; the window system's own screen leaves the strip as it is. Set before Start.
    void SetScreenOrigin(capture::ScreenOrigin origin) { m_screenOrigin = origin; }

    // Declares DPI awareness and loads the settings window, hidden; its Created event runs the
    // start-up sequence. A second copy ends there with exit code 0 after its message.
    void Start();
    // The tray menu's "退出程序": the settings window is destroyed, which ends the process.
    void RequestExit();

    [[nodiscard]] ui::Form& SettingsForm() { return m_window.Form(); }
    [[nodiscard]] SettingsWindow& Settings() { return m_window; }
    [[nodiscard]] const settings::SettingsStore& Store() const { return m_settings; }
    [[nodiscard]] TrayIcon& Tray() { return m_tray; }
    [[nodiscard]] const Text& ProgramDirectory() const { return m_programDirectory; }
    // Program directory, separator, "截图", separator.
    [[nodiscard]] const Text& ScreenshotDir() const { return m_screenshotDir; }
    [[nodiscard]] bool ExitRequested() const { return m_exitRequested; }

private:
    void WireEvents();
    void OnCreated();
    [[nodiscard]] bool OnCloseQuery();
    void OnSizeChanged(const ui::Event& event);
    void OnDestroyed();
    void OnTrayEvent(int code);
    void ShowTrayMenu();
    void UpdateMenuCaption();
    void ShowWithoutTray();
    void OnInstanceCommand(InstanceCommand command);
    void RunInstanceCommand(InstanceCommand command);
    void BringSettingsForward();
    static void Run(const std::function<void()>& command);
    // What the user must hear about the settings file at this start; empty when nothing.
    [[nodiscard]] Text SettingsNotice(bool firstRun) const;

    Ports m_ports;
    Text m_programDirectory;
    Text m_screenshotDir;
    Text m_unwritableFolder;
    capture::ScreenOrigin m_screenOrigin = capture::ScreenOrigin::WindowSystem;
    settings::SettingsStore m_settings;
    Commands m_commands;
    // Before the tray icon, which hooks its form and is destroyed first.
    SettingsWindow m_window;
    TrayIcon m_tray;
    bool m_exitRequested = false;
    // Commands of other copies wait until the start-up sequence is done.
    bool m_started = false;
    std::optional<InstanceCommand> m_startCommand;
    std::vector<InstanceCommand> m_waitingCommands;
    bool m_menuCaptionKept = false;
    // No tray shows the icon: the settings window is the only way in, so it is shown and
    // closing it minimises it instead of hiding it.
    bool m_withoutTray = false;
    Text m_menuCaption;
};

} // namespace tovrik::app
