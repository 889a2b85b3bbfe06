#pragma once

#include "ui/WindowSystem.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>

namespace tovrik::ui::win32 {

class FormWindow;
struct NativeControl;

// The forms as user32 windows and common controls, with their message loop. One per process,
// on the user-interface thread; it starts OLE (drag and drop) and GDI+ (pictures) for its
// lifetime.
class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    void DeclareDpiAware() override;
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

    // The native window of a live form; null otherwise.
    [[nodiscard]] HWND WindowOf(FormId form) const;
    // The native window of a control; null for controls the form draws or keeps itself.
    [[nodiscard]] HWND ControlWindow(FormId form, TextView control) const;
    // Raises an event on a live form as its own window would (the tray icon's messages).
    void Deliver(FormId form, const Event& event);
    // Dispatches messages until WM_QUIT; its exit code.
    [[nodiscard]] int RunMessageLoop();
    // Every live form with the state of its controls, as UTF-8 lines (the test hook's report).
    [[nodiscard]] std::string Report() const;

private:
    [[nodiscard]] std::shared_ptr<FormWindow> Live(FormId form) const;
    [[nodiscard]] NativeControl* ControlOf(FormId form, TextView control) const;
    void Dispatch(MSG& message) const;

    std::map<FormId, std::shared_ptr<FormWindow>> m_forms;
    FormId m_nextId = 1;
    HFONT m_font = nullptr;
    HICON m_icon = nullptr;
    HICON m_smallIcon = nullptr;
    ULONG_PTR m_gdiplusToken = 0;
    bool m_oleStarted = false;
};

} // namespace tovrik::ui::win32
