#include "ui/win32/FormWindow.h"

#include "ui/win32/ControlHook.h"
#include "ui/win32/OleDropTarget.h"
#include "ui/win32/WideText.h"

#include <imm.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace tovrik::ui::win32 {

namespace {

constexpr WORD kArrowCursor = 32512; // IDC_ARROW

DWORD FormStyle(const FormDecl& declaration) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    if (declaration.minimisable) {
        style |= WS_MINIMIZEBOX;
    }
    if (declaration.resizable) {
        style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    }
    return style;
}

const ControlDecl* DropTargetOf(const FormDecl& declaration) {
    const auto found = std::find_if(declaration.controls.begin(), declaration.controls.end(),
                                    [](const ControlDecl& control) { return control.kind == ControlKind::DropTarget; });
    return found != declaration.controls.end() ? &*found : nullptr;
}

} // namespace

bool FormWindow::RegisterWindowClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

FormWindow::FormWindow(FormId id, const FormDecl& declaration, EventSink& sink, std::function<void(FormId)> onGone)
    : m_id(id), m_declaration(declaration), m_sink(&sink), m_onGone(std::move(onGone)) {}

FormWindow::~FormWindow() {
    if (m_dropTarget != nullptr) {
        m_dropTarget->Revoke();
    }
}

bool FormWindow::Create(HFONT font, HICON icon, HICON smallIcon) {
    const Rect& frame = m_declaration.rect;
    CreateWindowExW(0, kClassName, Wide(m_declaration.caption).c_str(), FormStyle(m_declaration), frame.left, frame.top,
                    frame.width, frame.height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (m_window == nullptr) {
        return false;
    }
    // The tray icon asks the window for its small icon.
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    m_controls.Build(m_window, m_declaration, font);
    HookControls();
    AcceptDrops();
    return true;
}

void FormWindow::Raise(const Event& event) {
    const std::shared_ptr<FormWindow> keep = shared_from_this();
    if (m_sink != nullptr) {
        m_sink->OnEvent(event);
    }
}

bool FormWindow::CaptureKeys(TextView control) {
    NativeControl* found = m_controls.Find(control);
    if (found == nullptr || found->declaration.kind != ControlKind::Edit || !found->hook) {
        return false;
    }
    found->hook->captureKeys = true;
    // Keys go to the box, not to an input method.
    ImmAssociateContext(found->window, nullptr);
    return true;
}

void FormWindow::PopupMenu(TextView menu) {
    const NativeControl* found = m_controls.Find(menu);
    if (found == nullptr || found->declaration.kind != ControlKind::Menu || found->menu == nullptr) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(m_window);
    const int chosen = static_cast<int>(TrackPopupMenu(found->menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       pointer.x, pointer.y, 0, m_window, nullptr));
    PostMessageW(m_window, WM_NULL, 0, 0);
    if (const NativeControl* item = m_controls.FindByCommand(chosen)) {
        Raise(Event{.kind = EventKind::Click, .control = item->declaration.name});
    }
}

LRESULT CALLBACK FormWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const std::shared_ptr<FormWindow> keep = self->weak_from_this().lock();
    return self->OnMessage(message, wParam, lParam);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_CTLCOLORSTATIC: {
        const NativeControl* control = m_controls.FindByCommand(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        if (control != nullptr && control->declaration.kind == ControlKind::TransparentLabel) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(m_window, &paint);
        m_controls.Paint(dc);
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_HOTKEY:
        Raise(Event{.kind = EventKind::Hotkey, .code = static_cast<int>(wParam)});
        return 0;
    case WM_SIZE:
        OnSize(wParam);
        break;
    case WM_ACTIVATE:
        // Plain windows forget which control had the focus; forms give it back.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            m_lastFocus = focus != nullptr && IsChild(m_window, focus) ? focus : nullptr;
        } else if (m_lastFocus != nullptr && IsWindow(m_lastFocus) && IsChild(m_window, m_lastFocus)) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case WM_DROPFILES: {
        auto* drop = reinterpret_cast<HDROP>(wParam);
        std::vector<Text> files = DroppedFiles(drop);
        DragFinish(drop);
        RaiseDrop(std::move(files));
        return 0;
    }
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        const HWND window = std::exchange(m_window, nullptr);
        if (m_onGone) {
            m_onGone(m_id);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const NativeControl* control = m_controls.FindByCommand(LOWORD(wParam));
    if (control == nullptr) {
        return;
    }
    const int code = HIWORD(wParam);
    const ControlKind kind = control->declaration.kind;
    std::optional<EventKind> event;
    if (lParam == 0) {
        event = kind == ControlKind::MenuItem && code == 0 ? std::optional(EventKind::Click) : std::nullopt;
    } else if (kind == ControlKind::Button || kind == ControlKind::CheckBox) {
        event = code == BN_CLICKED ? std::optional(EventKind::Click) : std::nullopt;
    } else if (kind == ControlKind::Label || kind == ControlKind::TransparentLabel) {
        event = code == STN_CLICKED  ? std::optional(EventKind::Click)
                : code == STN_DBLCLK ? std::optional(EventKind::DoubleClick)
                                     : std::nullopt;
    }
    if (event) {
        Raise(Event{.kind = *event, .control = control->declaration.name});
    }
}

void FormWindow::OnSize(WPARAM wParam) {
    const WindowState state = wParam == SIZE_MINIMIZED   ? WindowState::Minimised
                              : wParam == SIZE_MAXIMIZED ? WindowState::Maximised
                                                         : WindowState::Normal;
    if (state != std::exchange(m_state, state)) {
        Raise(Event{.kind = EventKind::SizeChanged, .state = state});
    }
}

void FormWindow::OnClose() {
    const std::shared_ptr<FormWindow> keep = shared_from_this();
    if (m_sink != nullptr && m_sink->OnCloseQuery() && m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

void FormWindow::OnDestroy() {
    if (m_dropTarget != nullptr) {
        std::exchange(m_dropTarget, nullptr)->Revoke();
    }
    if (EventSink* sink = std::exchange(m_sink, nullptr)) {
        sink->OnEvent(Event{.kind = EventKind::Destroyed});
    }
}

void FormWindow::HookControls() {
    for (NativeControl& control : m_controls.All()) {
        if (control.window == nullptr) {
            continue;
        }
        control.hook = std::make_unique<ControlHook>();
        control.hook->raise = [this](const Event& event) { Raise(event); };
        control.hook->name = control.declaration.name;
        if (!InstallHook(control.window, *control.hook)) {
            control.hook.reset();
        }
    }
}

void FormWindow::AcceptDrops() {
    if (DropTargetOf(m_declaration) == nullptr) {
        return;
    }
    m_dropTarget = OleDropTarget::Register(m_window, [this](std::vector<Text> files) { RaiseDrop(std::move(files)); });
    if (m_dropTarget == nullptr) {
        // Without OLE the shell's older drop messages still arrive.
        DragAcceptFiles(m_window, TRUE);
    }
}

void FormWindow::RaiseDrop(std::vector<Text> files) {
    const ControlDecl* target = DropTargetOf(m_declaration);
    if (target != nullptr && !files.empty()) {
        Raise(Event{.kind = EventKind::DropFiles, .control = target->name, .files = std::move(files)});
    }
}

} // namespace tovrik::ui::win32
