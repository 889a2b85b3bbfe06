#pragma once

#include "ui/FormDecl.h"

// The program's forms, declared once and built by whichever backend runs.
namespace tovrik::ui {

// The start window: hotkey rows, cloud keys, options and the tray menu "设置".
[[nodiscard]] const FormDecl& SettingsWindowForm();
// The result window: picture, recognised text, translation and their buttons.
[[nodiscard]] const FormDecl& MainWindowForm();
// The small modal window behind the "赞赏支持作者" button.
[[nodiscard]] const FormDecl& DonationWindowForm();

} // namespace tovrik::ui
