#pragma once

#include "app/InstanceGuard.h"

#include <windows.h>

namespace tovrik::app {

// A named event: whoever created it first is the running copy. The event is held until the
// process ends. There is no channel: the notification area always exists on Windows, so a
// second start leaves the running copy as it is, and the command-line triggers are not offered.
class Win32InstanceGuard final : public InstanceGuard {
public:
    Win32InstanceGuard() = default;
    ~Win32InstanceGuard() override;
    Win32InstanceGuard(const Win32InstanceGuard&) = delete;
    Win32InstanceGuard& operator=(const Win32InstanceGuard&) = delete;

    [[nodiscard]] bool Acquire(TextView name) override;
    void SetReceiver(Receiver) override {}
    [[nodiscard]] bool Send(TextView, InstanceCommand) override { return false; }

private:
    HANDLE m_event = nullptr;
};

} // namespace tovrik::app
