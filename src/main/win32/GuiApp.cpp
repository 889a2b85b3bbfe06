#include "GuiApp.h"

#include "TestReport.h"
#include "app/Program.h"
#include "app/win32/Win32AutostartStore.h"
#include "app/win32/Win32HotkeyRegistrar.h"
#include "app/win32/Win32InstanceGuard.h"
#include "app/win32/Win32ProcessControl.h"
#include "app/win32/Win32Shell.h"
#include "app/win32/Win32TrayHost.h"
#include "capture/win32/GdiScreenSettle.h"
#include "capture/win32/GdiScreenSource.h"
#include "capture/win32/Win32FileDialogHost.h"
#include "capture/win32/Win32OverlayWindow.h"
#include "net/HttpTransport.h"
#include "services/AudioPlayer.h"
#include "settings/ProgramDirectory.h"
#include "settings/SystemClock.h"
#include "ui/win32/Win32Clipboard.h"
#include "ui/win32/Win32Keyboard.h"
#include "ui/win32/Win32WindowSystem.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>

namespace tovrik {

namespace {

// Every backend object, in the order they depend on each other.
struct Win32Ports {
    ui::win32::Win32Keyboard keyboard;
    ui::win32::Win32WindowSystem windows;
    app::Win32HotkeyRegistrar hotkeys{windows};
    app::Win32TrayHost tray{windows};
    app::Win32InstanceGuard instance;
    app::Win32AutostartStore autostart;
    app::Win32ProcessControl process;
    app::Win32Shell shell;
    capture::GdiScreenSource screen;
    capture::GdiScreenSettle settle;
    capture::Win32OverlayWindow overlayWindow;
    capture::Win32FileDialogHost fileDialogs;
    ui::win32::Win32Clipboard clipboard;
    settings::SystemClock clock;
    std::unique_ptr<services::AudioPlayer> audio = services::CreateSystemAudioPlayer();

    [[nodiscard]] app::ProgramPorts Ports() {
        return {.app = {windows, keyboard, hotkeys, tray, instance, autostart, process, shell},
                .screen = screen,
                .settle = settle,
                .overlayWindow = overlayWindow,
                .fileDialogs = fileDialogs,
                .clipboard = clipboard,
                .clock = clock,
                .audio = *audio};
    }
};

} // namespace

int RunGui() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    Win32Ports ports;
    const settings::ProgramDirectoryChoice directory = settings::ChooseProgramDirectory();
    app::Program program(ports.Ports(), directory.directory);
    program.App().SetUnwritableFolder(directory.unwritable);
    const TestReport report(ports.windows);
    program.Start();
    return ports.windows.RunMessageLoop();
}

} // namespace tovrik
