#pragma once

#include "text/Types.h"
#include "ui/Event.h"
#include "ui/FormDecl.h"
#include "ui/Geometry.h"

#include <cstdint>

namespace tovrik::ui {

// A native form as the backend knows it; 0 is no form.
using FormId = std::uint32_t;

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Warning, Error };
enum class MessageResult { Ok, Yes, No };

struct MessageStyle {
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    bool systemModal = false; // MB_SYSTEMMODAL: stays on top of every window
};

// The window system: builds native forms from their declarations and gives access to their
// controls by name. The control name "" addresses the form itself (caption, visibility, outer
// rectangle). Calls on an id that is not (or no longer) a form, or on an unknown control, do
// nothing and read as empty.
//
// Windows: user32 windows and common controls; Linux: Qt Widgets.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Coordinates become physical pixels, per monitor where the system can (SetProcessDPIAware
    // where it cannot).
    virtual void DeclareDpiAware() = 0;

    // Creates the form and all its controls, hidden. The caller raises Created itself.
    [[nodiscard]] virtual FormId CreateForm(const FormDecl& form, EventSink& sink) = 0;
    // DestroyWindow (the framework's own destroy request, not WM_CLOSE): no close query. The
    // backend delivers Destroyed, at once or from its message loop.
    virtual void DestroyForm(FormId form) = 0;
    // Shows the form as a modal dialog and returns when it has been closed and destroyed.
    virtual void RunModal(FormId form) = 0;
    // Handles window messages for the given time before returning (a wait that keeps the
    // windows alive).
    virtual void WaitProcessingEvents(int milliseconds) = 0;

    [[nodiscard]] virtual WindowState GetWindowState(FormId form) const = 0;
    virtual void SetWindowState(FormId form, WindowState state) = 0;
    // Brings the form to the front: AttachThreadInput to its thread, SetActiveWindow, detach.
    virtual void Activate(FormId form) = 0;
    // TrackPopupMenu at the mouse position; the chosen item raises its Click event.
    virtual void PopupMenu(FormId form, TextView menu) = 0;
    // Subclasses an edit box so that its key messages raise KeyDown/KeyUp/SysKeyDown/SysKeyUp
    // and typed characters no longer change its text. False when there is no such edit box.
    [[nodiscard]] virtual bool CaptureKeys(FormId form, TextView control) = 0;

    [[nodiscard]] virtual Text GetText(FormId form, TextView control) const = 0;
    virtual void SetText(FormId form, TextView control, TextView text) = 0;
    [[nodiscard]] virtual bool GetChecked(FormId form, TextView control) const = 0;
    virtual void SetChecked(FormId form, TextView control, bool checked) = 0;
    [[nodiscard]] virtual bool GetEnabled(FormId form, TextView control) const = 0;
    virtual void SetEnabled(FormId form, TextView control, bool enabled) = 0;
    [[nodiscard]] virtual bool GetVisible(FormId form, TextView control) const = 0;
    virtual void SetVisible(FormId form, TextView control, bool visible) = 0;
    [[nodiscard]] virtual Rect GetRect(FormId form, TextView control) const = 0;
    virtual void SetRect(FormId form, TextView control, const Rect& rect) = 0;
    virtual void SetBorderColour(FormId form, TextView control, Colour colour) = 0;
    // Pictures are encoded image files (PNG, JPEG, BMP, GIF, TIFF); GetPicture returns the
    // bytes last set.
    [[nodiscard]] virtual Bytes GetPicture(FormId form, TextView control) const = 0;
    virtual void SetPicture(FormId form, TextView control, BytesView image) = 0;

    // MessageBoxA; owner 0 for none.
    [[nodiscard]] virtual MessageResult ShowMessage(FormId owner, TextView text, TextView title,
                                                    const MessageStyle& style) = 0;
};

} // namespace tovrik::ui
