#pragma once

#include "ui/WindowSystem.h"

#include <QPointer>

#include <map>

class QMenu;
class QWidget;

namespace tovrik::ui {

class NativeForm;
class QtKeyboard;

// Forms as Qt widgets. Needs a QApplication; everything runs on its thread.
class QtWindowSystem final : public WindowSystem {
public:
    explicit QtWindowSystem(QtKeyboard& keyboard) : m_keyboard(keyboard) {}
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    // Qt's high-DPI scaling is switched off before the application starts (see the program's
    // start), so that every coordinate is a physical pixel.
    void DeclareDpiAware() override {}
    [[nodiscard]] FormId CreateForm(const FormDecl& form, EventSink& sink) override;
    void DestroyForm(FormId form) override;
    void RunModal(FormId form) override;
    void WaitProcessingEvents(int milliseconds) override;
    [[nodiscard]] WindowState GetWindowState(FormId form) const override;
    void SetWindowState(FormId form, WindowState state) override;
    void Activate(FormId form) override;
    void PopupMenu(FormId form, TextView menu) override;
    [[nodiscard]] bool CaptureKeys(FormId form, TextView control) override;
    [[nodiscard]] Text GetText(FormId form, TextView control) const override;
    void SetText(FormId form, TextView control, TextView text) override;
    [[nodiscard]] bool GetChecked(FormId form, TextView control) const override;
    void SetChecked(FormId form, TextView control, bool checked) override;
    [[nodiscard]] bool GetEnabled(FormId form, TextView control) const override;
    void SetEnabled(FormId form, TextView control, bool enabled) override;
    [[nodiscard]] bool GetVisible(FormId form, TextView control) const override;
    void SetVisible(FormId form, TextView control, bool visible) override;
    [[nodiscard]] Rect GetRect(FormId form, TextView control) const override;
    void SetRect(FormId form, TextView control, const Rect& rect) override;
    void SetBorderColour(FormId form, TextView control, Colour colour) override;
    [[nodiscard]] Bytes GetPicture(FormId form, TextView control) const override;
    void SetPicture(FormId form, TextView control, BytesView image) override;
    [[nodiscard]] MessageResult ShowMessage(FormId owner, TextView text, TextView title,
                                            const MessageStyle& style) override;

    // Raises an event of the system (a hotkey, the tray icon) on the form once the event loop
    // runs again, so that what it starts never runs inside Qt's own event handling.
    void Post(FormId form, Event event);
    // Gives the form's menu to whoever shows it by itself (a tray): its entries raise their
    // Click events once the menu has gone, and its opening raises the given event on the form
    // at once, so that the form can change the entries before they show. Null when there is no
    // such menu.
    [[nodiscard]] QMenu* HandOverMenu(FormId form, TextView menu, const Event& opening);
    // The form's widget; null when there is no such form.
    [[nodiscard]] QWidget* Widget(FormId form) const;

private:
    [[nodiscard]] NativeForm* Find(FormId form) const;

    QtKeyboard& m_keyboard;
    std::map<FormId, QPointer<NativeForm>> m_forms;
    FormId m_nextId = 1;
};

} // namespace tovrik::ui
