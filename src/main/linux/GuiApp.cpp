#include "GuiApp.h"

#include "DesktopScale.h"

#include "app/Program.h"
#include "app/linux/AppIcon.h"
#include "app/linux/NoGlobalHotkeys.h"
#include "app/linux/PortalHotkeyRegistrar.h"
#include "app/linux/PosixProcessControl.h"
#include "app/linux/QtTrayHost.h"
#include "app/linux/SessionKind.h"
#include "app/linux/SocketInstanceGuard.h"
#include "app/linux/XcbHotkeyRegistrar.h"
#include "app/linux/XdgAutostartStore.h"
#include "app/linux/XdgShell.h"
#include "capture/linux/QtFileDialogHost.h"
#include "capture/linux/QtOverlayWindow.h"
#include "capture/linux/X11ScreenSettle.h"
#include "capture/linux/X11ScreenSource.h"
#include "capture/linux/wayland/WaylandOverlayWindow.h"
#include "capture/linux/wayland/WaylandScreenSettle.h"
#include "capture/linux/wayland/WaylandScreenSource.h"
#include "net/HttpTransport.h"
#include "services/AudioPlayer.h"
#include "settings/ProgramDirectory.h"
#include "settings/SystemClock.h"
#include "ui/linux/QtClipboard.h"
#include "ui/linux/QtKeyboard.h"
#include "ui/linux/QtWindowSystem.h"

#include <QApplication>
#include <QDBusConnection>
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

void PrepareEnvironment(app::SessionKind session) {
    // In an X11 session global hotkeys and screen reading need the X server. In a Wayland
    // session the program is a Wayland client: XWayland sees neither the keys nor the pixels of
    // the Wayland windows.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", session == app::SessionKind::Wayland ? "wayland" : "xcb");
    }
}

// Qt ends the process with an abort when it finds no display; say what is wrong instead.
bool DisplayReachable(app::SessionKind session) {
    if (session == app::SessionKind::Wayland) {
        return true;
    }
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

// The backends that differ between X11 and Wayland sessions.
struct SessionPorts {
    std::unique_ptr<app::HotkeyRegistrar> hotkeys;
    std::unique_ptr<capture::ScreenSource> screen;
    std::unique_ptr<capture::ScreenSettle> settle;
    std::unique_ptr<capture::OverlayWindow> overlayWindow;
};

SessionPorts X11Ports(ui::QtWindowSystem& windows) {
    return {std::make_unique<app::XcbHotkeyRegistrar>(windows), std::make_unique<capture::X11ScreenSource>(),
            std::make_unique<capture::X11ScreenSettle>(), std::make_unique<capture::QtOverlayWindow>()};
}

// The desktop's global shortcuts where its portal offers them.
std::unique_ptr<app::HotkeyRegistrar> WaylandHotkeys(ui::QtWindowSystem& windows) {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!app::PortalHotkeyRegistrar::Offered(bus)) {
        return std::make_unique<app::NoGlobalHotkeys>();
    }
    return std::make_unique<app::PortalHotkeyRegistrar>(bus, [&windows](ui::FormId owner, int id) {
        windows.Post(owner, {.kind = ui::EventKind::Hotkey, .code = id});
    });
}

SessionPorts WaylandPorts(ui::QtWindowSystem& windows) {
    auto screen = std::make_unique<capture::WaylandScreenSource>();
    auto overlay =
        std::make_unique<capture::WaylandOverlayWindow>([source = screen.get()] { return source->Layout(); });
    std::fprintf(stderr, "TovrikOcr: Wayland session, screen pictures through %s\n", screen->SourceName().c_str());
    return {WaylandHotkeys(windows), std::move(screen), std::make_unique<capture::WaylandScreenSettle>(),
            std::move(overlay)};
}

// Every backend object, in the order they depend on each other.
struct LinuxPorts {
    explicit LinuxPorts(app::SessionKind kind)
        : session(kind == app::SessionKind::Wayland ? WaylandPorts(windows) : X11Ports(windows)) {}

    ui::QtKeyboard keyboard;
    ui::QtWindowSystem windows{keyboard};
    SessionPorts session;
    app::QtTrayHost tray{windows};
    app::SocketInstanceGuard instance;
    app::XdgAutostartStore autostart;
    app::PosixProcessControl process;
    app::XdgShell shell;
    capture::QtFileDialogHost fileDialogs;
    ui::QtClipboard clipboard;
    settings::SystemClock clock;
    std::unique_ptr<services::AudioPlayer> audio = services::CreateSystemAudioPlayer();

    [[nodiscard]] app::ProgramPorts Ports() {
        return {.app = {windows, keyboard, *session.hotkeys, tray, instance, autostart, process, shell},
                .screen = *session.screen,
                .settle = *session.settle,
                .overlayWindow = *session.overlayWindow,
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
    const app::SessionKind session = app::CurrentSessionKind();
    PrepareEnvironment(session);
    if (!DisplayReachable(session)) {
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

    LinuxPorts ports(session);
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
    if (!DisplayReachable(app::CurrentSessionKind())) {
        std::fprintf(stderr, "TovrikOcr: no running copy, and no display to start one on (DISPLAY=%s).\n",
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
