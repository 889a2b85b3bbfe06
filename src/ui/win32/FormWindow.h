#pragma once

#include "text/Types.h"
#include "ui/Event.h"
#include "ui/FormDecl.h"
#include "ui/WindowSystem.h"
#include "ui/win32/FormControls.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace tovrik::ui::win32 {

class OleDropTarget;

// One native top-level window built from a form declaration. It turns window messages into the
// form's events: clicks, focus and key messages of its controls, menu choices, hotkeys, size
// changes, the close query and destruction. Owned through a shared pointer, which the window
// procedure holds while it runs, so a handler may destroy the form it was called for.
class FormWindow final : public std::enable_shared_from_this<FormWindow> {
public:
    static constexpr const wchar_t* kClassName = L"TovrikForm";

    // The window class of every form, with the program's icon.
    [[nodiscard]] static bool RegisterWindowClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // onGone runs when the native window has been destroyed completely.
    FormWindow(FormId id, const FormDecl& declaration, EventSink& sink, std::function<void(FormId)> onGone);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Creates the window, hidden, and its controls. Call once, on an object already owned by a
    // shared pointer.
    [[nodiscard]] bool Create(HFONT font, HICON icon, HICON smallIcon);

    [[nodiscard]] FormId Id() const { return m_id; }
    [[nodiscard]] HWND Handle() const { return m_window; }
    [[nodiscard]] const FormDecl& Declaration() const { return m_declaration; }
    [[nodiscard]] FormControls& Controls() { return m_controls; }
    [[nodiscard]] const FormControls& Controls() const { return m_controls; }

    // Raises the event unless the form has already delivered Destroyed.
    void Raise(const Event& event);
    [[nodiscard]] bool CaptureKeys(TextView control);
    // TrackPopupMenu at the mouse position; the chosen item raises its Click event.
    void PopupMenu(TextView menu);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnSize(WPARAM wParam);
    void OnClose();
    void OnDestroy();
    void HookControls();
    void AcceptDrops();
    void RaiseDrop(std::vector<Text> files);

    FormId m_id;
    FormDecl m_declaration;
    EventSink* m_sink;
    std::function<void(FormId)> m_onGone;
    HWND m_window = nullptr;
    FormControls m_controls;
    OleDropTarget* m_dropTarget = nullptr;
    WindowState m_state = WindowState::Normal;
    HWND m_lastFocus = nullptr;
};

} // namespace tovrik::ui::win32
