#pragma once

#include "text/Types.h"
#include "ui/FormDecl.h"
#include "ui/Geometry.h"

class QAction;
class QMenu;
class QWidget;

namespace tovrik::ui {

// One declared control and what stands for it in Qt: a widget, or for menus a QMenu and for
// menu items a QAction. Drop targets have neither.
struct NativeControl {
    const ControlDecl* declaration = nullptr;
    QWidget* widget = nullptr;
    QMenu* menu = nullptr;
    QAction* action = nullptr;
    Bytes picture{};
    bool keysCaptured = false;
    bool handedOver = false; // a menu that a tray shows itself
};

// The widget of a control kind that is drawn in the form, as a child of parent, at the declared
// position; null for menus, menu items and drop targets.
[[nodiscard]] QWidget* CreateControlWidget(const ControlDecl& control, QWidget* parent);

[[nodiscard]] Text ControlText(const NativeControl& control);
void SetControlText(NativeControl& control, TextView text);
[[nodiscard]] bool ControlChecked(const NativeControl& control);
void SetControlChecked(NativeControl& control, bool checked);
// The picture (an encoded image) shown scaled to fit the box, keeping its aspect.
void SetControlPicture(NativeControl& control, BytesView image);
// Frames around edit boxes; other controls keep their look.
void SetControlBorderColour(NativeControl& control, Colour colour);

} // namespace tovrik::ui
