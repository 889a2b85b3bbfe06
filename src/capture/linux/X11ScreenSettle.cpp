#include "capture/linux/X11ScreenSettle.h"

#include "ui/linux/X11Display.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <X11/Xlib.h>

#include <algorithm>
#include <string>

namespace tovrik::capture {

namespace {

// The ancestor of the window that is a child of the root: what the screen shows of it.
Window TopLevelOf(Display* display, Window window) {
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return window;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            return window;
        }
        window = parent;
    }
}

bool Viewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

bool OnScreenAsWanted(Display* display, const QWidget& widget) {
    if (widget.isVisible()) {
        // A minimised window is not on the screen, and is not going to be.
        const QWindow* window = widget.windowHandle();
        return widget.isMinimized() || (window != nullptr && window->isExposed());
    }
    // A window never shown has no X window to wait for.
    if (!widget.testAttribute(Qt::WA_WState_Created) || widget.internalWinId() == 0) {
        return true;
    }
    return !Viewable(display, TopLevelOf(display, static_cast<Window>(widget.internalWinId())));
}

bool Settled(Display* display) {
    const QWidgetList widgets = QApplication::topLevelWidgets();
    return std::all_of(widgets.begin(), widgets.end(),
                       [display](const QWidget* widget) { return OnScreenAsWanted(display, *widget); });
}

bool CompositorRuns(Display* display) {
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.c_str(), False);
    return selection != 0 && XGetSelectionOwner(display, selection) != 0;
}

} // namespace

void X11ScreenSettle::AwaitOwnWindows(int limitMs) {
    Display* display = ui::X11Display();
    if (display == nullptr) {
        return;
    }
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        // Maps, exposures and the paints they cause; key presses (another hotkey) wait for later.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // Everything asked of the server so far is done, and its answers have arrived.
        XSync(display, False);
        if (Settled(display) || clock.elapsed() >= limitMs) {
            break;
        }
        QThread::msleep(kPollMs);
    }
    if (CompositorRuns(display)) {
        const auto left = std::max<qint64>(0, limitMs - clock.elapsed());
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, kCompositorFramesMs)));
    }
}

} // namespace tovrik::capture
