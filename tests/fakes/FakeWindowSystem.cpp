#include "fakes/FakeWindowSystem.h"

#include "ui/KeyMessages.h"

#include <gtest/gtest.h>

namespace tovrik::fakes {

void FakeWindowSystem::DeclareDpiAware() {
    NoteTo(m_journal, "DeclareDpiAware");
    m_dpiAware = true;
}

ui::FormId FakeWindowSystem::CreateForm(const ui::FormDecl& form, ui::EventSink& sink) {
    NoteTo(m_journal, "CreateForm " + form.name);
    Form state{.declaration = form, .sink = &sink, .caption = form.caption, .rect = form.rect};
    for (const ui::ControlDecl& control : form.controls) {
        state.controls.emplace(control.name,
                               Control{.declaration = control, .text = control.caption, .rect = control.rect});
    }
    const ui::FormId id = m_nextId++;
    m_forms.emplace(id, std::move(state));
    return id;
}

void FakeWindowSystem::DestroyForm(ui::FormId form) {
    Form* state = Find(form);
    if (state == nullptr) {
        return;
    }
    NoteTo(m_journal, "DestroyForm " + state->declaration.name);
    ui::EventSink* sink = std::exchange(state->sink, nullptr);
    state->visible = false;
    sink->OnEvent({.kind = ui::EventKind::Destroyed});
}

void FakeWindowSystem::RunModal(ui::FormId form) {
    Form* state = Find(form);
    if (state == nullptr) {
        return;
    }
    state->visible = true;
    if (m_modalScript) {
        m_modalScript(form);
    }
    DestroyForm(form);
}

ui::WindowState FakeWindowSystem::GetWindowState(ui::FormId form) const {
    const Form* state = Find(form);
    return state != nullptr ? state->state : ui::WindowState::Normal;
}

void FakeWindowSystem::SetWindowState(ui::FormId form, ui::WindowState windowState) {
    if (Form* state = Find(form)) {
        NoteTo(m_journal, "SetWindowState " + state->declaration.name);
        state->state = windowState;
    }
}

void FakeWindowSystem::Activate(ui::FormId form) {
    if (Form* state = Find(form)) {
        NoteTo(m_journal, "Activate " + state->declaration.name);
        ++state->activations;
    }
}

void FakeWindowSystem::PopupMenu(ui::FormId form, TextView menu) {
    if (FindControl(form, menu) != nullptr) {
        NoteTo(m_journal, "PopupMenu " + Text(menu));
        m_popups.emplace_back(menu);
    }
}

bool FakeWindowSystem::CaptureKeys(ui::FormId form, TextView control) {
    Control* state = FindControl(form, control);
    if (state == nullptr || state->declaration.kind != ui::ControlKind::Edit) {
        return false;
    }
    NoteTo(m_journal, "CaptureKeys " + Text(control));
    state->keysCaptured = true;
    return true;
}

Text FakeWindowSystem::GetText(ui::FormId form, TextView control) const {
    if (control.empty()) {
        const Form* state = Find(form);
        return state != nullptr ? state->caption : Text();
    }
    const Control* state = FindControl(form, control);
    return state != nullptr ? state->text : Text();
}

void FakeWindowSystem::SetText(ui::FormId form, TextView control, TextView text) {
    if (control.empty()) {
        if (Form* state = Find(form)) {
            state->caption = Text(text);
        }
    } else if (Control* state = FindControl(form, control)) {
        state->text = Text(text);
    }
}

bool FakeWindowSystem::GetChecked(ui::FormId form, TextView control) const {
    const Control* state = FindControl(form, control);
    return state != nullptr && state->checked;
}

void FakeWindowSystem::SetChecked(ui::FormId form, TextView control, bool checked) {
    if (Control* state = FindControl(form, control)) {
        state->checked = checked;
    }
}

bool FakeWindowSystem::GetEnabled(ui::FormId form, TextView control) const {
    if (control.empty()) {
        return Find(form) != nullptr;
    }
    const Control* state = FindControl(form, control);
    return state != nullptr && state->enabled;
}

void FakeWindowSystem::SetEnabled(ui::FormId form, TextView control, bool enabled) {
    if (Control* state = control.empty() ? nullptr : FindControl(form, control)) {
        NoteTo(m_journal, "SetEnabled " + Text(control) + (enabled ? " 1" : " 0"));
        state->enabled = enabled;
    }
}

bool FakeWindowSystem::GetVisible(ui::FormId form, TextView control) const {
    if (control.empty()) {
        const Form* state = Find(form);
        return state != nullptr && state->visible;
    }
    const Control* state = FindControl(form, control);
    return state != nullptr && state->visible;
}

void FakeWindowSystem::SetVisible(ui::FormId form, TextView control, bool visible) {
    if (control.empty()) {
        if (Form* state = Find(form)) {
            NoteTo(m_journal, (visible ? "Show " : "Hide ") + state->declaration.name);
            state->visible = visible;
        }
    } else if (Control* state = FindControl(form, control)) {
        state->visible = visible;
    }
}

ui::Rect FakeWindowSystem::GetRect(ui::FormId form, TextView control) const {
    if (control.empty()) {
        const Form* state = Find(form);
        return state != nullptr ? state->rect : ui::Rect();
    }
    const Control* state = FindControl(form, control);
    return state != nullptr ? state->rect : ui::Rect();
}

void FakeWindowSystem::SetRect(ui::FormId form, TextView control, const ui::Rect& rect) {
    if (control.empty()) {
        if (Form* state = Find(form)) {
            NoteTo(m_journal, "SetRect " + state->declaration.name);
            state->rect = rect;
        }
    } else if (Control* state = FindControl(form, control)) {
        state->rect = rect;
    }
}

void FakeWindowSystem::SetBorderColour(ui::FormId form, TextView control, ui::Colour colour) {
    if (Control* state = FindControl(form, control)) {
        state->border = colour;
    }
}

Bytes FakeWindowSystem::GetPicture(ui::FormId form, TextView control) const {
    const Control* state = FindControl(form, control);
    return state != nullptr ? state->picture : Bytes();
}

void FakeWindowSystem::SetPicture(ui::FormId form, TextView control, BytesView image) {
    if (Control* state = FindControl(form, control)) {
        state->picture = Bytes(image);
    }
}

ui::MessageResult FakeWindowSystem::ShowMessage(ui::FormId owner, TextView text, TextView title,
                                                const ui::MessageStyle& style) {
    NoteTo(m_journal, "ShowMessage " + Text(title));
    m_messages.push_back({owner, Text(text), Text(title), style});
    if (!m_answers.empty()) {
        const ui::MessageResult answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return style.buttons == ui::MessageButtons::YesNo ? ui::MessageResult::No : ui::MessageResult::Ok;
}

ui::FormId FakeWindowSystem::FindForm(TextView name) const {
    for (const auto& [id, state] : m_forms) {
        if (state.sink != nullptr && state.declaration.name == name) {
            return id;
        }
    }
    return 0;
}

bool FakeWindowSystem::IsAlive(ui::FormId form) const {
    return Find(form) != nullptr;
}

const FakeWindowSystem::Form& FakeWindowSystem::FormState(ui::FormId form) const {
    return m_forms.at(form);
}

const FakeWindowSystem::Control& FakeWindowSystem::ControlState(ui::FormId form, TextView control) const {
    const auto found = m_forms.at(form).controls.find(control);
    if (found == m_forms.at(form).controls.end()) {
        throw std::out_of_range("no such control");
    }
    return found->second;
}

int FakeWindowSystem::CreatedCount(TextView name) const {
    int count = 0;
    for (const auto& [id, state] : m_forms) {
        count += state.declaration.name == name ? 1 : 0;
    }
    return count;
}

bool FakeWindowSystem::Click(ui::FormId form, TextView control) {
    Control* state = FindControl(form, control);
    if (state == nullptr || !state->enabled || !state->visible) {
        return false;
    }
    if (state->declaration.kind == ui::ControlKind::CheckBox) {
        state->checked = !state->checked;
    }
    Send(form, {.kind = ui::EventKind::Click, .control = Text(control)});
    return true;
}

bool FakeWindowSystem::DoubleClick(ui::FormId form, TextView control) {
    const Control* state = FindControl(form, control);
    if (state == nullptr || !state->enabled || !state->visible) {
        return false;
    }
    Send(form, {.kind = ui::EventKind::DoubleClick, .control = Text(control)});
    return true;
}

void FakeWindowSystem::Focus(ui::FormId form, TextView control) {
    Form* state = Find(form);
    if (state == nullptr || (!control.empty() && FindControl(form, control) == nullptr)) {
        return;
    }
    const Text previous = std::exchange(state->focus, Text(control));
    if (!previous.empty()) {
        Send(form, {.kind = ui::EventKind::LostFocus, .control = previous});
    }
    if (!control.empty()) {
        Send(form, {.kind = ui::EventKind::GotFocus, .control = Text(control)});
    }
}

void FakeWindowSystem::TypeText(ui::FormId form, TextView control, TextView text) {
    Focus(form, control);
    if (Control* state = FindControl(form, control); state != nullptr && !state->keysCaptured) {
        state->text = Text(text);
    }
}

void FakeWindowSystem::PressKey(ui::FormId form, int virtualKey) {
    m_keyboard.Press(virtualKey);
    SendKey(form, ui::KeyMessageKind(true, virtualKey, m_keyboard.AltDown(), m_keyboard.CtrlDown()), virtualKey);
}

void FakeWindowSystem::ReleaseKey(ui::FormId form, int virtualKey) {
    // The message kind depends on what was held with the key; the asynchronous state already
    // shows it up when the message arrives.
    const ui::EventKind kind = ui::KeyMessageKind(false, virtualKey, m_keyboard.AltDown(), m_keyboard.CtrlDown());
    m_keyboard.Release(virtualKey);
    SendKey(form, kind, virtualKey);
}

void FakeWindowSystem::DropFiles(ui::FormId form, std::vector<Text> files) {
    const Form* state = Find(form);
    if (state == nullptr) {
        return;
    }
    for (const ui::ControlDecl& control : state->declaration.controls) {
        if (control.kind == ui::ControlKind::DropTarget) {
            Send(form, {.kind = ui::EventKind::DropFiles, .control = control.name, .files = std::move(files)});
            return;
        }
    }
    ADD_FAILURE() << "form " << state->declaration.name << " accepts no dropped files";
}

bool FakeWindowSystem::CloseBox(ui::FormId form) {
    Form* state = Find(form);
    if (state == nullptr || !state->sink->OnCloseQuery()) {
        return false;
    }
    DestroyForm(form);
    return true;
}

void FakeWindowSystem::Minimise(ui::FormId form) {
    if (Form* state = Find(form)) {
        state->state = ui::WindowState::Minimised;
        Send(form, {.kind = ui::EventKind::SizeChanged, .state = ui::WindowState::Minimised});
    }
}

void FakeWindowSystem::FireHotkey(ui::FormId owner, int id) {
    Send(owner, {.kind = ui::EventKind::Hotkey, .code = id});
}

void FakeWindowSystem::FireTray(ui::FormId owner, int code) {
    Send(owner, {.kind = ui::EventKind::TrayNotify, .code = code});
}

FakeWindowSystem::Form* FakeWindowSystem::Find(ui::FormId form) {
    const auto found = m_forms.find(form);
    return found != m_forms.end() && found->second.sink != nullptr ? &found->second : nullptr;
}

const FakeWindowSystem::Form* FakeWindowSystem::Find(ui::FormId form) const {
    const auto found = m_forms.find(form);
    return found != m_forms.end() && found->second.sink != nullptr ? &found->second : nullptr;
}

FakeWindowSystem::Control* FakeWindowSystem::FindControl(ui::FormId form, TextView control) {
    return const_cast<Control*>(std::as_const(*this).FindControl(form, control));
}

const FakeWindowSystem::Control* FakeWindowSystem::FindControl(ui::FormId form, TextView control) const {
    const Form* state = Find(form);
    if (state == nullptr) {
        return nullptr;
    }
    const auto found = state->controls.find(control);
    if (found == state->controls.end()) {
        ADD_FAILURE() << "form " << state->declaration.name << " has no control " << control;
        return nullptr;
    }
    return &found->second;
}

void FakeWindowSystem::Send(ui::FormId form, const ui::Event& event) {
    if (const Form* state = Find(form)) {
        state->sink->OnEvent(event);
    }
}

void FakeWindowSystem::SendKey(ui::FormId form, ui::EventKind kind, int virtualKey) {
    const Form* state = Find(form);
    if (state == nullptr || state->focus.empty()) {
        return;
    }
    const Control* control = FindControl(form, state->focus);
    if (control != nullptr && control->keysCaptured) {
        Send(form, {.kind = kind, .control = state->focus, .virtualKey = virtualKey});
    }
}

} // namespace tovrik::fakes
