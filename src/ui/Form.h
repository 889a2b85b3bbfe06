#pragma once

#include "text/Types.h"
#include "ui/Event.h"
#include "ui/FormDecl.h"
#include "ui/WindowSystem.h"

#include <functional>
#include <vector>

namespace tovrik::ui {

// A form of the program: its declaration, the native form while it is loaded, and the
// handlers of its events. Controls are addressed by their declared names; "" is the form
// itself. Property calls on a form that is not loaded do nothing and read as empty.
//
// Events go first through the hooks (newest first, like subclassed window procedures; a hook
// that returns true swallows the event), then to the one handler registered for the control
// and kind. Handlers and hooks stay across loads, so a form can be loaded again after it was
// destroyed.
class Form final : private EventSink {
public:
    using Handler = std::function<void(const Event&)>;
    using Hook = std::function<bool(const Event&)>;
    using HookId = int;

    Form(WindowSystem& windows, const FormDecl& declaration);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    [[nodiscard]] const FormDecl& Declaration() const { return m_declaration; }
    [[nodiscard]] WindowSystem& Windows() const { return m_windows; }

    // Creates the native form, hidden, then raises Created. False when the backend could not
    // create it. Loading a loaded form does nothing.
    [[nodiscard]] bool Load();
    [[nodiscard]] bool IsLoaded() const { return m_id != 0; }
    [[nodiscard]] FormId Id() const { return m_id; }
    // The native form goes away; Destroyed follows (at once or from the message loop).
    void Destroy();
    // Loads the form if needed and shows it as a modal dialog until it is closed.
    void RunModal();

    void On(TextView control, EventKind kind, Handler handler);
    // Decides a close request; without one the form may always close.
    void OnCloseQuery(std::function<bool()> decide);
    [[nodiscard]] HookId AddHook(Hook hook);
    void RemoveHook(HookId id);

    // The form itself.
    void Show() { SetVisible({}, true); }
    void Hide() { SetVisible({}, false); }
    [[nodiscard]] bool IsShown() const { return GetVisible({}); }
    [[nodiscard]] WindowState State() const;
    void SetState(WindowState state);
    void Activate();
    void PopupMenu(TextView menu);
    [[nodiscard]] MessageResult Message(TextView text, TextView title, const MessageStyle& style);

    // Controls, or the form with "".
    [[nodiscard]] bool CaptureKeys(TextView control);
    [[nodiscard]] Text GetText(TextView control) const;
    void SetText(TextView control, TextView text);
    [[nodiscard]] bool GetChecked(TextView control) const;
    void SetChecked(TextView control, bool checked);
    [[nodiscard]] bool GetEnabled(TextView control) const;
    void SetEnabled(TextView control, bool enabled);
    [[nodiscard]] bool GetVisible(TextView control) const;
    void SetVisible(TextView control, bool visible);
    [[nodiscard]] Rect GetRect(TextView control) const;
    void SetRect(TextView control, const Rect& rect);
    void SetBorderColour(TextView control, Colour colour);
    [[nodiscard]] Bytes GetPicture(TextView control) const;
    void SetPicture(TextView control, BytesView image);

private:
    struct HandlerEntry {
        Text control;
        EventKind kind;
        Handler handler;
    };
    struct HookEntry {
        HookId id;
        Hook hook;
    };

    void OnEvent(const Event& event) override;
    [[nodiscard]] bool OnCloseQuery() override;
    void Dispatch(const Event& event);

    WindowSystem& m_windows;
    const FormDecl m_declaration;
    FormId m_id = 0;
    std::vector<HandlerEntry> m_handlers;
    std::vector<HookEntry> m_hooks;
    HookId m_nextHookId = 1;
    std::function<bool()> m_closeQuery;
};

} // namespace tovrik::ui
