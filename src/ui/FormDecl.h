#pragma once

#include "text/Types.h"
#include "ui/Geometry.h"

#include <vector>

namespace tovrik::ui {

enum class ControlKind {
    Label,
    TransparentLabel, // a label drawn without background, over whatever lies beneath
    Button,
    Edit,
    CheckBox,
    GroupBox,
    EditFrame,  // a plain rectangle around an edit box; only its border colour changes
    PictureBox, // shows an encoded image (PNG, JPEG, BMP, ...) scaled to fit, keeping its aspect
    StatusBar,
    StatusPane, // a sunken field of the status strip
    Menu,       // a popup menu, never shown in the form itself
    MenuItem,
    DropTarget, // not drawn: files dropped anywhere on the form arrive as its DropFiles event
};

// One control of a form. Names are program text and unique within the form; the code refers
// to controls by these names.
struct ControlDecl {
    Text name{};
    ControlKind kind = ControlKind::Label;
    Text caption{}; // initial text of labels, buttons, check boxes, edit boxes and menu items
    Rect rect{};
    Text parent{};          // empty for the form's client area; a group box, the status strip or a menu
    bool multiLine = false; // edit boxes with word wrap and a vertical scroll bar
};

struct FormDecl {
    Text name{};
    Text caption{};
    Rect rect{};
    bool resizable = false;
    bool minimisable = true;
    std::vector<ControlDecl> controls{};

    [[nodiscard]] const ControlDecl* Find(TextView controlName) const;
};

} // namespace tovrik::ui
