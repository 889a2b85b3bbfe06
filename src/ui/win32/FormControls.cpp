#include "ui/win32/FormControls.h"

#include "ui/win32/ControlHook.h"
#include "ui/win32/PictureView.h"
#include "ui/win32/WideText.h"

#include <algorithm>
#include <utility>

namespace tovrik::ui::win32 {

namespace {

constexpr int kFirstCommandId = 1000;
constexpr Colour kDefaultFrameColour = 0xC0C0C0;

struct WindowKind {
    const wchar_t* className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool atBottom = false; // containers lie under the controls placed on them
};

WindowKind KindOf(const ControlDecl& control) {
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
        return {L"STATIC", SS_LEFT | SS_NOTIFY};
    case ControlKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::Edit:
        return {L"EDIT",
                static_cast<DWORD>(
                    WS_TABSTOP |
                    (control.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL)),
                WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, 0, true};
    case ControlKind::PictureBox:
        return {kPictureClass};
    case ControlKind::StatusPane:
        return {L"STATIC", 0, WS_EX_STATICEDGE, true};
    default:
        return {};
    }
}

} // namespace

FormControls::~FormControls() {
    for (const NativeControl& control : m_controls) {
        if (control.declaration.kind == ControlKind::Menu && control.menu != nullptr) {
            DestroyMenu(control.menu);
        }
    }
}

void FormControls::Build(HWND form, const FormDecl& declaration, HFONT font) {
    m_form = form;
    m_controls.reserve(declaration.controls.size());
    int commandId = kFirstCommandId;
    for (const ControlDecl& decl : declaration.controls) {
        NativeControl control;
        control.declaration = decl;
        control.commandId = commandId++;
        control.rect = decl.rect;
        control.caption = decl.caption;
        if (decl.kind == ControlKind::EditFrame) {
            control.border = kDefaultFrameColour;
        }
        if (const NativeControl* parent = Find(decl.parent)) {
            control.parentOrigin = {parent->parentOrigin.x + parent->rect.left,
                                    parent->parentOrigin.y + parent->rect.top};
            control.menu = parent->declaration.kind == ControlKind::Menu ? parent->menu : nullptr;
        }
        m_controls.push_back(std::move(control));
        Create(m_controls.back(), font);
    }
    // Last, since every new control joins the bottom of the order: containers lie under the
    // controls placed on them.
    for (const NativeControl& control : m_controls) {
        if (control.window != nullptr && KindOf(control.declaration).atBottom) {
            SetWindowPos(control.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void FormControls::Create(NativeControl& control, HFONT font) {
    const ControlDecl& decl = control.declaration;
    if (decl.kind == ControlKind::Menu) {
        control.menu = CreatePopupMenu();
        return;
    }
    if (decl.kind == ControlKind::MenuItem) {
        if (control.menu != nullptr) {
            AppendMenuW(control.menu, MF_STRING, static_cast<UINT_PTR>(control.commandId), Wide(decl.caption).c_str());
        }
        return;
    }
    const WindowKind kind = KindOf(decl);
    if (kind.className == nullptr) {
        return;
    }
    const RECT area = ClientRect(control);
    control.window = CreateWindowExW(
        kind.exStyle, kind.className, Wide(decl.caption).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style,
        area.left, area.top, area.right - area.left, area.bottom - area.top, m_form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.commandId)), GetModuleHandleW(nullptr), nullptr);
    if (control.window == nullptr) {
        return;
    }
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (decl.kind == ControlKind::Edit && decl.multiLine) {
        // The default limit of about 30,000 characters would cut long recognised texts.
        SendMessageW(control.window, EM_SETLIMITTEXT, 0, 0);
    }
}

NativeControl* FormControls::Find(TextView name) {
    return const_cast<NativeControl*>(std::as_const(*this).Find(name));
}

const NativeControl* FormControls::Find(TextView name) const {
    if (name.empty()) {
        return nullptr;
    }
    const auto found = std::find_if(m_controls.begin(), m_controls.end(),
                                    [&](const NativeControl& control) { return control.declaration.name == name; });
    return found != m_controls.end() ? &*found : nullptr;
}

const NativeControl* FormControls::FindByCommand(int id) const {
    const auto found = std::find_if(m_controls.begin(), m_controls.end(),
                                    [&](const NativeControl& control) { return control.commandId == id; });
    return found != m_controls.end() ? &*found : nullptr;
}

Text FormControls::GetText(const NativeControl& control) const {
    if (control.window == nullptr) {
        return control.caption;
    }
    const int length = GetWindowTextLengthW(control.window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control.window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Narrow(text);
}

void FormControls::SetText(NativeControl& control, TextView text) {
    control.caption = Text(text);
    if (control.window != nullptr) {
        SetWindowTextW(control.window, Wide(text).c_str());
        if (control.declaration.kind == ControlKind::TransparentLabel) {
            Redraw(control);
        }
    } else if (control.declaration.kind == ControlKind::MenuItem && control.menu != nullptr) {
        ModifyMenuW(control.menu, static_cast<UINT>(control.commandId),
                    MF_BYCOMMAND | MF_STRING | (control.enabled ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(control.commandId), Wide(text).c_str());
    }
}

bool FormControls::GetChecked(const NativeControl& control) const {
    return control.window != nullptr && control.declaration.kind == ControlKind::CheckBox &&
           SendMessageW(control.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormControls::SetChecked(NativeControl& control, bool checked) {
    if (control.window != nullptr && control.declaration.kind == ControlKind::CheckBox) {
        SendMessageW(control.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool FormControls::GetEnabled(const NativeControl& control) const {
    return control.window != nullptr ? IsWindowEnabled(control.window) != 0 : control.enabled;
}

void FormControls::SetEnabled(NativeControl& control, bool enabled) {
    control.enabled = enabled;
    if (control.window != nullptr) {
        EnableWindow(control.window, enabled ? TRUE : FALSE);
    } else if (control.declaration.kind == ControlKind::MenuItem && control.menu != nullptr) {
        EnableMenuItem(control.menu, static_cast<UINT>(control.commandId),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

bool FormControls::GetVisible(const NativeControl& control) const {
    if (control.window != nullptr) {
        return (GetWindowLongW(control.window, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    return control.visible;
}

void FormControls::SetVisible(NativeControl& control, bool visible) {
    control.visible = visible;
    if (control.window != nullptr) {
        ShowWindow(control.window, visible ? SW_SHOWNA : SW_HIDE);
    } else {
        Redraw(control);
    }
}

void FormControls::SetRect(NativeControl& control, const Rect& rect) {
    if (control.window == nullptr) {
        Redraw(control);
    }
    control.rect = rect;
    if (control.window != nullptr) {
        const RECT area = ClientRect(control);
        MoveWindow(control.window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    } else {
        Redraw(control);
    }
}

void FormControls::SetBorderColour(NativeControl& control, Colour colour) {
    control.border = colour;
    Redraw(control);
}

void FormControls::SetPicture(NativeControl& control, BytesView image) {
    control.picture = Bytes(image);
    if (control.window != nullptr && control.declaration.kind == ControlKind::PictureBox) {
        ShowPicture(control.window, image);
    }
}

void FormControls::Paint(HDC dc) const {
    for (const NativeControl& control : m_controls) {
        if (control.declaration.kind != ControlKind::EditFrame || !control.visible) {
            continue;
        }
        const RECT area = ClientRect(control);
        HBRUSH brush = CreateSolidBrush(control.border);
        FrameRect(dc, &area, brush);
        DeleteObject(brush);
    }
}

RECT FormControls::ClientRect(const NativeControl& control) const {
    const int left = control.parentOrigin.x + control.rect.left;
    const int top = control.parentOrigin.y + control.rect.top;
    return {left, top, left + control.rect.width, top + control.rect.height};
}

void FormControls::Redraw(const NativeControl& control) const {
    const RECT area = ClientRect(control);
    RedrawWindow(m_form, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace tovrik::ui::win32
