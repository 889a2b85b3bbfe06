#pragma once

#include "fakes/CallJournal.h"
#include "fakes/FakeKeyboard.h"
#include "ui/WindowSystem.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace tovrik::fakes {

// The window system in memory. Forms and controls keep their properties; the test acts as the
// user (clicks, focus, keys, drops, close box, minimise) and fires what the system would send
// (hotkeys, tray messages). A control name missing from the form's declaration fails the test.
// Calls on forms (not the reading and writing of control texts and pictures) go to the journal.
class FakeWindowSystem final : public ui::WindowSystem {
public:
    struct Control {
        ui::ControlDecl declaration{};
        Text text{};
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        ui::Rect rect{};
        ui::Colour border = 0;
        Bytes picture{};
        bool keysCaptured = false;
    };
    struct Form {
        ui::FormDecl declaration{};
        ui::EventSink* sink = nullptr; // null once destroyed
        Text caption{};
        bool visible = false;
        ui::WindowState state = ui::WindowState::Normal;
        ui::Rect rect{};
        int activations = 0;
        Text focus{};
        std::map<Text, Control, std::less<>> controls{};
    };
    struct Message {
        ui::FormId owner;
        Text text;
        Text title;
        ui::MessageStyle style;
    };

    explicit FakeWindowSystem(FakeKeyboard& keyboard) : m_keyboard(keyboard) {}

    void DeclareDpiAware() override;
    [[nodiscard]] ui::FormId CreateForm(const ui::FormDecl& form, ui::EventSink& sink) override;
    void DestroyForm(ui::FormId form) override;
    void RunModal(ui::FormId form) override;
    void WaitProcessingEvents(int milliseconds) override { m_waitedMs += milliseconds; }
    [[nodiscard]] ui::WindowState GetWindowState(ui::FormId form) const override;
    void SetWindowState(ui::FormId form, ui::WindowState state) override;
    void Activate(ui::FormId form) override;
    void PopupMenu(ui::FormId form, TextView menu) override;
    [[nodiscard]] bool CaptureKeys(ui::FormId form, TextView control) override;
    [[nodiscard]] Text GetText(ui::FormId form, TextView control) const override;
    void SetText(ui::FormId form, TextView control, TextView text) override;
    [[nodiscard]] bool GetChecked(ui::FormId form, TextView control) const override;
    void SetChecked(ui::FormId form, TextView control, bool checked) override;
    [[nodiscard]] bool GetEnabled(ui::FormId form, TextView control) const override;
    void SetEnabled(ui::FormId form, TextView control, bool enabled) override;
    [[nodiscard]] bool GetVisible(ui::FormId form, TextView control) const override;
    void SetVisible(ui::FormId form, TextView control, bool visible) override;
    [[nodiscard]] ui::Rect GetRect(ui::FormId form, TextView control) const override;
    void SetRect(ui::FormId form, TextView control, const ui::Rect& rect) override;
    void SetBorderColour(ui::FormId form, TextView control, ui::Colour colour) override;
    [[nodiscard]] Bytes GetPicture(ui::FormId form, TextView control) const override;
    void SetPicture(ui::FormId form, TextView control, BytesView image) override;
    [[nodiscard]] ui::MessageResult ShowMessage(ui::FormId owner, TextView text, TextView title,
                                                const ui::MessageStyle& style) override;

    // What the program did.
    void SetJournal(CallJournal* journal) { m_journal = journal; }
    [[nodiscard]] bool DpiAware() const { return m_dpiAware; }
    // The live form with this declared name; 0 when there is none.
    [[nodiscard]] ui::FormId FindForm(TextView name) const;
    [[nodiscard]] bool IsAlive(ui::FormId form) const;
    [[nodiscard]] const Form& FormState(ui::FormId form) const;
    [[nodiscard]] const Control& ControlState(ui::FormId form, TextView control) const;
    [[nodiscard]] const std::vector<Message>& Messages() const { return m_messages; }
    [[nodiscard]] const std::vector<Text>& PopupMenus() const { return m_popups; }
    [[nodiscard]] int CreatedCount(TextView name) const;
    [[nodiscard]] int WaitedMs() const { return m_waitedMs; }
    // Answers for the next message boxes, in order; without one a box answers Ok or No.
    void Answer(ui::MessageResult result) { m_answers.push_back(result); }
    // Runs while a modal form is open; afterwards the user closes it.
    void WhileModal(std::function<void(ui::FormId)> script) { m_modalScript = std::move(script); }

    // The user. Clicks on disabled or hidden controls do nothing and return false; a click on
    // a check box toggles it before the event.
    bool Click(ui::FormId form, TextView control);
    bool DoubleClick(ui::FormId form, TextView control);
    // Moves the focus: LostFocus on the control that had it, then GotFocus here ("" for none).
    void Focus(ui::FormId form, TextView control);
    // Focuses an edit box and types the text into it, replacing what it held.
    void TypeText(ui::FormId form, TextView control, TextView text);
    // Keys go down and up on the keyboard; a focused control with captured keys gets the key
    // messages Windows would send.
    void PressKey(ui::FormId form, int virtualKey);
    void ReleaseKey(ui::FormId form, int virtualKey);
    void DropFiles(ui::FormId form, std::vector<Text> files);
    // The close box; true when the form agreed and was destroyed.
    bool CloseBox(ui::FormId form);
    void Minimise(ui::FormId form);

    // The system.
    void FireHotkey(ui::FormId owner, int id);
    void FireTray(ui::FormId owner, int code);

private:
    [[nodiscard]] Form* Find(ui::FormId form);
    [[nodiscard]] const Form* Find(ui::FormId form) const;
    [[nodiscard]] Control* FindControl(ui::FormId form, TextView control);
    [[nodiscard]] const Control* FindControl(ui::FormId form, TextView control) const;
    void Send(ui::FormId form, const ui::Event& event);
    void SendKey(ui::FormId form, ui::EventKind kind, int virtualKey);

    FakeKeyboard& m_keyboard;
    CallJournal* m_journal = nullptr;
    std::map<ui::FormId, Form> m_forms;
    ui::FormId m_nextId = 1;
    bool m_dpiAware = false;
    int m_waitedMs = 0;
    std::vector<Message> m_messages;
    std::deque<ui::MessageResult> m_answers;
    std::vector<Text> m_popups;
    std::function<void(ui::FormId)> m_modalScript;
};

} // namespace tovrik::fakes
