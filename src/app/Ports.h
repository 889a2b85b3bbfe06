#pragma once

#include "app/AutostartStore.h"
#include "app/HotkeyRegistrar.h"
#include "app/InstanceGuard.h"
#include "app/ProcessControl.h"
#include "app/Shell.h"
#include "app/TrayHost.h"
#include "ui/Keyboard.h"
#include "ui/WindowSystem.h"

namespace tovrik::app {

// The platform as the application shell sees it; main wires one backend set in, tests the
// fakes.
struct Ports {
    ui::WindowSystem& windows;
    ui::Keyboard& keyboard;
    HotkeyRegistrar& hotkeys;
    TrayHost& tray;
    InstanceGuard& instance;
    AutostartStore& autostart;
    ProcessControl& process;
    Shell& shell;
};

} // namespace tovrik::app
