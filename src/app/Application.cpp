#include "app/Application.h"

#include "files/Files.h"

namespace tovrik::app {

namespace {

constexpr int kStartupWindowHeight = 310;
constexpr TextView kCaptureMenuEntry = "截图翻译";
// The status strip's last pane, "欢迎使用" unless the screen source is named there.
constexpr TextView kSourcePane = "状态_文本4";

// The status strip's name of the screen source; empty for the window system's own screen.
TextView ScreenOriginText(capture::ScreenOrigin origin) {
    switch (origin) {
    case capture::ScreenOrigin::Screencopy:
        return "截屏：wlr-screencopy";
    case capture::ScreenOrigin::ScreenshotPortal:
        return "截屏：截图门户";
    case capture::ScreenOrigin::WindowSystem:
        break;
    }
    return {};
}

} // namespace

Application::Application(const Ports& ports, TextView programDirectory)
    : m_ports(ports), m_programDirectory(programDirectory),
      m_screenshotDir(files::JoinPath(programDirectory, "截图") + files::PathSeparator()),
      m_settings(Text(programDirectory)), m_window(ports, m_settings, m_commands, programDirectory),
      m_tray(ports.tray) {
    WireEvents();
}

void Application::Start() {
    m_ports.windows.DeclareDpiAware();
    static_cast<void>(SettingsForm().Load());
}

void Application::RequestExit() {
    m_exitRequested = true;
    SettingsForm().Destroy();
}

void Application::WireEvents() {
    ui::Form& form = SettingsForm();
    form.On({}, ui::EventKind::Created, [this](const ui::Event&) { OnCreated(); });
    form.OnCloseQuery([this] { return OnCloseQuery(); });
    form.On({}, ui::EventKind::SizeChanged, [this](const ui::Event& event) { OnSizeChanged(event); });
    form.On({}, ui::EventKind::Destroyed, [this](const ui::Event&) { OnDestroyed(); });
    form.On(kCaptureMenuEntry, ui::EventKind::Click, [this](const ui::Event&) { Run(m_commands.captureAndTranslate); });
    form.On("显示界面", ui::EventKind::Click, [this](const ui::Event&) { Run(m_commands.showMainWindow); });
    form.On("OCR设置", ui::EventKind::Click, [this](const ui::Event&) { SettingsForm().Show(); });
    form.On("退出程序", ui::EventKind::Click, [this](const ui::Event&) { RequestExit(); });
}

void Application::OnCreated() {
    ui::Form& form = SettingsForm();
    const Text alreadyRunning = form.GetText({}) + "程序已在运行!";
    m_ports.instance.SetReceiver([this](InstanceCommand command) { OnInstanceCommand(command); });
    if (!m_ports.instance.Acquire(kInstanceName)) {
        // A trigger that lost the start to another copy hands its command over silently; a
        // plain second start first brings the running copy's settings window forward.
        const bool handedOver = m_startCommand && m_ports.instance.Send(kInstanceName, *m_startCommand);
        if (!handedOver) {
            static_cast<void>(m_ports.instance.Send(kInstanceName, InstanceCommand::SecondStart));
            static_cast<void>(m_ports.windows.ShowMessage(0, alreadyRunning, "友情提醒:", {}));
        }
        m_ports.process.Exit(0);
        return;
    }

    static_cast<void>(files::CreateDirectories(m_screenshotDir));

    ui::Rect frame = form.GetRect({});
    frame.height = kStartupWindowHeight;
    form.SetRect({}, frame);

    const bool firstRun = !files::FileExists(m_settings.SettingsPath());
    const Text notice = SettingsNotice(firstRun);
    if (firstRun) {
        m_settings.WriteDefaults();
        form.Show();
    }

    m_window.RegisterHotkeysAtStartup(notice);
    if (const TextView source = ScreenOriginText(m_screenOrigin); !source.empty()) {
        form.SetText(kSourcePane, source);
    }

    static_cast<void>(m_tray.Add(form));
    m_tray.RefreshNotificationArea(false);
    m_tray.SetTip(kTrayTip);
    static_cast<void>(m_tray.InstallHandler([this](int code) { OnTrayEvent(code); }));
    m_tray.SetMenu("设置");
    if (!m_tray.HostPresent()) {
        ShowWithoutTray();
    }

    form.SetEnabled("按钮_申请key", m_settings.ReadItem(kSectionOcr, "AccessToken").empty());

    m_started = true;
    if (m_startCommand) {
        RunInstanceCommand(*m_startCommand);
    }
    for (const InstanceCommand command : std::exchange(m_waitingCommands, {})) {
        RunInstanceCommand(command);
    }
}

Text Application::SettingsNotice(bool firstRun) const {
    Text notice;
    const settings::SettingsCheck check = m_settings.Repair();
    if (check.repair == settings::SettingsRepair::ConvertedFromUtf8) {
        notice = "设置文件已从 UTF-8 转换为 GBK, 原文件保存为 " + check.keptAs;
    } else if (check.repair == settings::SettingsRepair::SetAside) {
        notice = check.keptAs == m_settings.SettingsPath()
                     ? "设置文件 " + check.keptAs + " 无法读取, 现在使用默认设置"
                     : "设置文件无法读取, 已另存为 " + check.keptAs + ", 现在使用默认设置";
    }
    if (firstRun && !m_unwritableFolder.empty()) {
        notice += Text(notice.empty() ? "" : "; ") + "程序目录 " + m_unwritableFolder + " 不可写, 设置保存在 " +
                  m_settings.SettingsPath();
    }
    return notice;
}

bool Application::OnCloseQuery() {
    if (m_exitRequested) {
        return true;
    }
    if (m_withoutTray) {
        SettingsForm().SetState(ui::WindowState::Minimised);
    } else {
        SettingsForm().Hide();
    }
    return false;
}

void Application::OnSizeChanged(const ui::Event& event) {
    if (event.state == ui::WindowState::Minimised && !m_withoutTray) {
        SettingsForm().Hide();
    }
}

void Application::OnDestroyed() {
    m_window.ReleaseHotkeys();
    // Removed here rather than left to process end: ending the process runs no destructors.
    m_tray.Remove();
    m_tray.RefreshNotificationArea(false);
    m_ports.process.Exit(0);
}

void Application::OnTrayEvent(int code) {
    ui::Form& form = SettingsForm();
    if (code == kTrayLeftDoubleClick) {
        form.Show();
        form.SetState(ui::WindowState::Normal);
    } else if (code == kTrayRightButtonDown) {
        ShowTrayMenu();
    } else if (code == kTrayMenuOpening) {
        UpdateMenuCaption();
    } else if (code == kTrayHostGone) {
        ShowWithoutTray();
    } else if (code == kTrayHostAppeared) {
        m_withoutTray = false;
    }
}

void Application::ShowWithoutTray() {
    m_withoutTray = true;
    ui::Form& form = SettingsForm();
    form.Show();
    form.SetState(ui::WindowState::Normal);
}

void Application::ShowTrayMenu() {
    UpdateMenuCaption();
    SettingsForm().PopupMenu("设置");
}

void Application::UpdateMenuCaption() {
    ui::Form& form = SettingsForm();
    // The form's own caption, kept once, so the hotkey is never appended twice.
    if (!m_menuCaptionKept) {
        m_menuCaption = form.GetText(kCaptureMenuEntry);
        m_menuCaptionKept = true;
    }
    form.SetText(kCaptureMenuEntry, m_menuCaption + "(" + form.GetText("编辑框_截图并翻译") + ")");
}

void Application::OnInstanceCommand(InstanceCommand command) {
    if (!m_started) {
        m_waitingCommands.push_back(command);
        return;
    }
    RunInstanceCommand(command);
}

void Application::RunInstanceCommand(InstanceCommand command) {
    if (m_exitRequested) {
        return;
    }
    switch (command) {
    case InstanceCommand::CaptureToFile:
        Run(m_commands.captureToFile);
        break;
    case InstanceCommand::CaptureAndCopy:
        Run(m_commands.captureAndCopy);
        break;
    case InstanceCommand::CaptureAndTranslate:
        Run(m_commands.captureAndTranslate);
        break;
    case InstanceCommand::SelfTranslate:
        Run(m_commands.selfTranslate);
        break;
    case InstanceCommand::ShowSettings:
    case InstanceCommand::SecondStart:
        BringSettingsForward();
        break;
    }
}

void Application::BringSettingsForward() {
    ui::Form& form = SettingsForm();
    form.Show();
    form.SetState(ui::WindowState::Normal);
    form.Activate();
}

void Application::Run(const std::function<void()>& command) {
    if (command) {
        command();
    }
}

} // namespace tovrik::app
