#pragma once

// The whole program put together from one set of ports. A backend's main creates its native
// ports (window system, keyboard, hotkeys, tray, instance guard, autostart store, process
// control, shell, screen, overlay window, file dialogs, clipboard, clock, audio player), fills
// ProgramPorts with them, constructs a Program with the program directory, calls Start() and
// then runs its message loop until the process ends. The HTTP transports may be left out: the
// platform's own are created then. Tests pass the fakes.

#include "app/Application.h"
#include "app/CaptureCommands.h"
#include "app/FormKeySource.h"
#include "app/FormStatusView.h"
#include "app/KeyCheck.h"
#include "app/MainWindow.h"
#include "app/Ports.h"
#include "capture/CaptureOverlay.h"
#include "services/RecognitionService.h"
#include "ui/Form.h"

#include <memory>

namespace tovrik::capture {
class FileDialogHost;
class OverlayWindow;
class ScreenSettle;
class ScreenSource;
} // namespace tovrik::capture
namespace tovrik::net {
class HttpTransport;
}
namespace tovrik::services {
class AudioPlayer;
}
namespace tovrik::ui {
class Clipboard;
}

namespace tovrik::app {

struct ProgramPorts {
    Ports app;
    capture::ScreenSource& screen;
    capture::ScreenSettle& settle;
    capture::OverlayWindow& overlayWindow;
    capture::FileDialogHost& fileDialogs;
    ui::Clipboard& clipboard;
    const settings::Clock& clock;
    services::AudioPlayer& audio;
    // Null: the platform's transports of the two HTTP clients.
    net::HttpTransport* webTransport = nullptr;
    net::HttpTransport* comTransport = nullptr;
};

class Program {
public:
    Program(const ProgramPorts& ports, TextView programDirectory);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Loads the settings window, whose Created event runs the start-up sequence; the status
    // strip names the screen source where the desktop has several.
    void Start();

    [[nodiscard]] Application& App() { return m_application; }
    [[nodiscard]] ui::Form& MainForm() { return m_mainForm; }
    [[nodiscard]] CaptureCommands& Commands() { return m_commands; }
    [[nodiscard]] MainWindow& Main() { return m_mainWindow; }
    [[nodiscard]] services::RecognitionService& Service() { return m_service; }
    [[nodiscard]] capture::CaptureOverlay& Overlay() { return m_overlay; }

private:
    std::unique_ptr<net::HttpTransport> m_ownWebTransport;
    std::unique_ptr<net::HttpTransport> m_ownComTransport;
    Application m_application;
    // Declared before everything that hooks it or shows in it.
    ui::Form m_mainForm;
    FormKeySource m_keySource;
    FormStatusView m_statusView;
    capture::CaptureOverlay m_overlay;
    services::RecognitionService m_service;
    CaptureCommands m_commands;
    MainWindow m_mainWindow;
    KeyCheck m_keyCheck;
    const capture::ScreenSource& m_screen;
};

} // namespace tovrik::app
