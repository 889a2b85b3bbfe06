#pragma once

#include "app/Ports.h"
#include "fakes/CallJournal.h"
#include "fakes/FakeAutostartStore.h"
#include "fakes/FakeHotkeyRegistrar.h"
#include "fakes/FakeInstanceGuard.h"
#include "fakes/FakeKeyboard.h"
#include "fakes/FakeProcessControl.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeTrayHost.h"
#include "fakes/FakeWindowSystem.h"

namespace tovrik::fakes {

// Every fake the application shell needs, wired together and writing to one journal.
struct FakePorts {
    FakePorts() {
        windows.SetJournal(&journal);
        hotkeys.SetJournal(&journal);
        tray.SetJournal(&journal);
        instance.SetJournal(&journal);
        autostart.SetJournal(&journal);
        process.SetJournal(&journal);
        shell.SetJournal(&journal);
    }
    FakePorts(const FakePorts&) = delete;
    FakePorts& operator=(const FakePorts&) = delete;

    [[nodiscard]] app::Ports Ports() { return {windows, keyboard, hotkeys, tray, instance, autostart, process, shell}; }

    CallJournal journal;
    FakeKeyboard keyboard;
    FakeWindowSystem windows{keyboard};
    FakeHotkeyRegistrar hotkeys;
    FakeTrayHost tray;
    FakeInstanceGuard instance;
    FakeAutostartStore autostart;
    FakeProcessControl process;
    FakeShell shell;
};

} // namespace tovrik::fakes
