#include "ui/Form.h"

#include <algorithm>
#include <utility>

namespace tovrik::ui {

Form::Form(WindowSystem& windows, const FormDecl& declaration) : m_windows(windows), m_declaration(declaration) {}

Form::~Form() {
    // Nothing of the program may run while it is being torn down.
    m_handlers.clear();
    m_hooks.clear();
    m_closeQuery = nullptr;
    if (m_id != 0) {
        m_windows.DestroyForm(std::exchange(m_id, 0));
    }
}

bool Form::Load() {
    if (m_id != 0) {
        return true;
    }
    m_id = m_windows.CreateForm(m_declaration, *this);
    if (m_id == 0) {
        return false;
    }
    Dispatch(Event{.kind = EventKind::Created});
    return true;
}

void Form::Destroy() {
    if (m_id != 0) {
        m_windows.DestroyForm(m_id);
    }
}

void Form::RunModal() {
    if (Load()) {
        m_windows.RunModal(m_id);
    }
}

void Form::On(TextView control, EventKind kind, Handler handler) {
    const auto found = std::find_if(m_handlers.begin(), m_handlers.end(),
                                    [&](const HandlerEntry& e) { return e.control == control && e.kind == kind; });
    if (found != m_handlers.end()) {
        found->handler = std::move(handler);
    } else {
        m_handlers.push_back({Text(control), kind, std::move(handler)});
    }
}

void Form::OnCloseQuery(std::function<bool()> decide) {
    m_closeQuery = std::move(decide);
}

Form::HookId Form::AddHook(Hook hook) {
    const HookId id = m_nextHookId++;
    m_hooks.push_back({id, std::move(hook)});
    return id;
}

void Form::RemoveHook(HookId id) {
    std::erase_if(m_hooks, [id](const HookEntry& e) { return e.id == id; });
}

void Form::OnEvent(const Event& event) {
    Dispatch(event);
    if (event.kind == EventKind::Destroyed) {
        m_id = 0;
    }
}

bool Form::OnCloseQuery() {
    const auto decide = m_closeQuery;
    return !decide || decide();
}

void Form::Dispatch(const Event& event) {
    // Hooks and handlers may add or remove hooks and handlers, even destroy the form: work on
    // copies and look each hook up again before calling it.
    std::vector<HookId> hookIds;
    for (const HookEntry& entry : m_hooks) {
        hookIds.push_back(entry.id);
    }
    for (auto id = hookIds.rbegin(); id != hookIds.rend(); ++id) {
        const auto found =
            std::find_if(m_hooks.begin(), m_hooks.end(), [&](const HookEntry& e) { return e.id == *id; });
        if (found == m_hooks.end()) {
            continue;
        }
        const Hook hook = found->hook;
        if (hook(event)) {
            return;
        }
    }
    const auto found = std::find_if(m_handlers.begin(), m_handlers.end(), [&](const HandlerEntry& e) {
        return e.control == event.control && e.kind == event.kind;
    });
    if (found != m_handlers.end()) {
        const Handler handler = found->handler;
        handler(event);
    }
}

WindowState Form::State() const {
    return m_id != 0 ? m_windows.GetWindowState(m_id) : WindowState::Normal;
}

void Form::SetState(WindowState state) {
    if (m_id != 0) {
        m_windows.SetWindowState(m_id, state);
    }
}

void Form::Activate() {
    if (m_id != 0) {
        m_windows.Activate(m_id);
    }
}

void Form::PopupMenu(TextView menu) {
    if (m_id != 0) {
        m_windows.PopupMenu(m_id, menu);
    }
}

MessageResult Form::Message(TextView text, TextView title, const MessageStyle& style) {
    return m_windows.ShowMessage(m_id, text, title, style);
}

bool Form::CaptureKeys(TextView control) {
    return m_id != 0 && m_windows.CaptureKeys(m_id, control);
}

Text Form::GetText(TextView control) const {
    return m_id != 0 ? m_windows.GetText(m_id, control) : Text();
}

void Form::SetText(TextView control, TextView text) {
    if (m_id != 0) {
        m_windows.SetText(m_id, control, text);
    }
}

bool Form::GetChecked(TextView control) const {
    return m_id != 0 && m_windows.GetChecked(m_id, control);
}

void Form::SetChecked(TextView control, bool checked) {
    if (m_id != 0) {
        m_windows.SetChecked(m_id, control, checked);
    }
}

bool Form::GetEnabled(TextView control) const {
    return m_id != 0 && m_windows.GetEnabled(m_id, control);
}

void Form::SetEnabled(TextView control, bool enabled) {
    if (m_id != 0) {
        m_windows.SetEnabled(m_id, control, enabled);
    }
}

bool Form::GetVisible(TextView control) const {
    return m_id != 0 && m_windows.GetVisible(m_id, control);
}

void Form::SetVisible(TextView control, bool visible) {
    if (m_id != 0) {
        m_windows.SetVisible(m_id, control, visible);
    }
}

Rect Form::GetRect(TextView control) const {
    return m_id != 0 ? m_windows.GetRect(m_id, control) : Rect();
}

void Form::SetRect(TextView control, const Rect& rect) {
    if (m_id != 0) {
        m_windows.SetRect(m_id, control, rect);
    }
}

void Form::SetBorderColour(TextView control, Colour colour) {
    if (m_id != 0) {
        m_windows.SetBorderColour(m_id, control, colour);
    }
}

Bytes Form::GetPicture(TextView control) const {
    return m_id != 0 ? m_windows.GetPicture(m_id, control) : Bytes();
}

void Form::SetPicture(TextView control, BytesView image) {
    if (m_id != 0) {
        m_windows.SetPicture(m_id, control, image);
    }
}

} // namespace tovrik::ui
