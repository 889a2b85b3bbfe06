#pragma once

#include "text/Types.h"
#include "ui/Geometry.h"

#include <vector>

namespace tovrik::ui {

enum class EventKind {
    Created,     // the form has been created (hidden); raised once per load
    Destroyed,   // the native form is gone; its id is no longer valid
    SizeChanged, // carries the new window state
    Click,       // button, label, check box (after the check state has toggled), menu item
    DoubleClick,
    GotFocus,
    LostFocus,
    // Key messages, raised only for controls whose keys are captured (WindowSystem::CaptureKeys).
    // The kind follows the Windows rule for system keys, see ui/KeyMessages.h.
    KeyDown,
    KeyUp,
    SysKeyDown,
    SysKeyUp,
    DropFiles,  // files dropped on a form that declares a DropTarget; control = that target
    Hotkey,     // a registered system-wide hotkey was pressed (WM_HOTKEY); id = its id
    TrayNotify, // the tray icon owned by this form; code = the tray event code (see app/TrayIcon.h)
};

struct Event {
    EventKind kind = EventKind::Created;
    Text control{};      // empty for the form itself
    int virtualKey = 0;  // key messages: the Windows virtual-key code
    int code = 0;        // Hotkey: the hotkey id; TrayNotify: the event code
    WindowState state{}; // SizeChanged
    std::vector<Text> files{};
};

// Receives the events of one native form. The backend calls it on the user-interface thread,
// never after it has delivered Destroyed.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void OnEvent(const Event& event) = 0;
    // The user asks to close the form (close box, Alt+F4, system shutdown). True lets it close:
    // the backend then destroys it and delivers Destroyed.
    [[nodiscard]] virtual bool OnCloseQuery() = 0;
};

} // namespace tovrik::ui
