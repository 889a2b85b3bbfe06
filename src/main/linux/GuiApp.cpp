#include "GuiApp.h"

#include "DesktopScale.h"

#include "app/Program.h"
#include "app/linux/AppIcon.h"
#include "app/linux/PosixProcessControl.h"
#include "app/linux/QtTrayHost.h"
#include "app/linux/SocketInstanceGuard.h"
#include "app/linux/XcbHotkeyRegistrar.h"
#include "app/linux/XdgAutostartStore.h"
#include "app/linux/XdgShell.h"
#include "capture/linux/QtFileDialogHost.h"
#include "capture/linux/QtOverlayWindow.h"
#include "capture/linux/X11ScreenSettle.h"
#include "capture/linux/X11ScreenSource.h"
#include "net/HttpTransport.h"
#include "services/AudioPlayer.h"
#include "settings/ProgramDirectory.h"
#include "settings/SystemClock.h"
#include "ui/linux/QtClipboard.h"
#include "ui/linux/QtKeyboard.h"
#include "ui/linux/QtWindowSystem.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace tovrik {

namespace {

// Windows' default GUI font is about 12 pixels high; the windows' controls are laid out for it.
constexpr int kGuiFontPixels = 12;

void PrepareEnvironment() {
    // The program is an X11 program: global hotkeys and screen reading need the X server
    // (under Wayland that is XWayland).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

// Qt ends the process with an abort when it finds no display; say what is wrong instead.
bool DisplayReachable() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

QFont GuiFont() {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Droid Sans Fallback"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(kGuiFontPixels);
    return font;
}

// Every backend object, in the order they depend on each other.
struct LinuxPorts {
    ui::QtKeyboard keyboard;
    ui::QtWindowSystem windows{keyboard};
    app::XcbHotkeyRegistrar hotkeys{windows};
    app::QtTrayHost tray{windows};
    app::SocketInstanceGuard instance;
    app::XdgAutostartStore autostart;
    app::PosixProcessControl process;
    app::XdgShell shell;
    capture::X11ScreenSource screen;
    capture::X11ScreenSettle settle;
    capture::QtOverlayWindow overlayWindow;
    capture::QtFileDialogHost fileDialogs;
    ui::QtClipboard clipboard;
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
                .audio = *audio,
                .webTransport = nullptr,
                .comTransport = nullptr};
    }
};

} // namespace

int RunGui(int argc, char** argv, std::optional<app::InstanceCommand> startCommand) {
    DesktopScale scale;
    PrepareEnvironment();
    if (!DisplayReachable()) {
        std::fprintf(stderr,
                     "TovrikOcr: no X display to show the tray program on (DISPLAY=%s).\n"
                     "Start it from a desktop session, or see TovrikOcr --help for the command line.\n",
                     qEnvironmentVariable("DISPLAY").toLocal8Bit().constData());
        return 1;
    }
    QApplication application(argc, argv);
    scale.RestoreForChildren();
    QApplication::setApplicationName(QStringLiteral("TovrikOcr"));
    QApplication::setDesktopFileName(QStringLiteral("tovrikocr"));
    QApplication::setWindowIcon(app::AppIcon());
    QApplication::setFont(GuiFont());
    // Closing a window only hides it; the tray menu ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own texts (the buttons of message boxes, the save dialog) in Chinese like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    LinuxPorts ports;
    const settings::ProgramDirectoryChoice directory = settings::ChooseProgramDirectory();
    app::Program program(ports.Ports(), directory.directory);
    program.App().SetUnwritableFolder(directory.unwritable);
    if (startCommand) {
        program.App().SetStartCommand(*startCommand);
    }
    program.Start();
    return QApplication::exec();
}

int RunTrigger(char* program, app::InstanceCommand command) {
    app::SocketInstanceGuard channel;
    if (channel.Send(app::kInstanceName, command)) {
        return 0;
    }
    if (!DisplayReachable()) {
        std::fprintf(stderr, "TovrikOcr: no running copy, and no X display to start one on (DISPLAY=%s).\n",
                     qEnvironmentVariable("DISPLAY").toLocal8Bit().constData());
        return 1;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("TovrikOcr: fork");
        return 1;
    }
    if (child > 0) {
        return 0;
    }
    // Out of the session of whatever ran the trigger, so that its end does not end us.
    ::setsid();
    char* arguments[] = {program, nullptr};
    return RunGui(1, arguments, command);
}

} // namespace tovrik
