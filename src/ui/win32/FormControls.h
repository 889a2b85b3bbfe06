#pragma once

#include "text/Types.h"
#include "ui/FormDecl.h"
#include "ui/Geometry.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace tovrik::ui::win32 {

struct ControlHook;

// One declared control of a native form and what the form knows of it.
struct NativeControl {
    ControlDecl declaration;
    // The native control; null for edit frames, the status strip, menus, menu items and drop
    // targets, which the form draws or keeps itself.
    HWND window = nullptr;
    int commandId = 0;    // WM_COMMAND id of controls and menu items
    Rect rect;            // relative to the parent, as declared or last set
    POINT parentOrigin{}; // the parent's top-left corner in the form's client area
    Colour border = 0;    // edit frames
    Bytes picture;        // picture boxes: the bytes last set
    Text caption;         // menu items
    bool visible = true;
    bool enabled = true;
    HMENU menu = nullptr; // menus: their popup; menu items: the popup that holds them
    std::unique_ptr<ControlHook> hook;
};

// The controls of one native form, built from the form's declaration, and their properties.
// Controls of group boxes and status fields are children of the form itself, placed at their
// parent's offset, so that every notification reaches the form's procedure.
class FormControls {
public:
    FormControls() = default;
    ~FormControls();
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    void Build(HWND form, const FormDecl& declaration, HFONT font);

    [[nodiscard]] NativeControl* Find(TextView name);
    [[nodiscard]] const NativeControl* Find(TextView name) const;
    [[nodiscard]] const NativeControl* FindByCommand(int id) const;
    [[nodiscard]] std::vector<NativeControl>& All() { return m_controls; }
    [[nodiscard]] const std::vector<NativeControl>& All() const { return m_controls; }

    [[nodiscard]] Text GetText(const NativeControl& control) const;
    void SetText(NativeControl& control, TextView text);
    [[nodiscard]] bool GetChecked(const NativeControl& control) const;
    void SetChecked(NativeControl& control, bool checked);
    [[nodiscard]] bool GetEnabled(const NativeControl& control) const;
    void SetEnabled(NativeControl& control, bool enabled);
    [[nodiscard]] bool GetVisible(const NativeControl& control) const;
    void SetVisible(NativeControl& control, bool visible);
    void SetRect(NativeControl& control, const Rect& rect);
    void SetBorderColour(NativeControl& control, Colour colour);
    void SetPicture(NativeControl& control, BytesView image);

    // Draws what the form draws itself (edit frames).
    void Paint(HDC dc) const;

private:
    void Create(NativeControl& control, HFONT font);
    [[nodiscard]] RECT ClientRect(const NativeControl& control) const;
    // The form repaints the area, so that a transparent label loses its old text.
    void Redraw(const NativeControl& control) const;

    HWND m_form = nullptr;
    std::vector<NativeControl> m_controls;
};

} // namespace tovrik::ui::win32
