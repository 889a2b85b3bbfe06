#include "ui/linux/X11Display.h"

#include <QGuiApplication>

namespace tovrik::ui {

namespace {

QNativeInterface::QX11Application* X11() {
    return qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

} // namespace

Display* X11Display() {
    auto* x11 = X11();
    return x11 != nullptr ? x11->display() : nullptr;
}

xcb_connection_t* X11Connection() {
    auto* x11 = X11();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace tovrik::ui
