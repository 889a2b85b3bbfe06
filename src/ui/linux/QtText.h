#pragma once

#include "text/Types.h"

#include <QString>

// Program text is code page 936; Qt speaks UTF-16. Every text crosses here.
namespace tovrik::ui {

[[nodiscard]] QString ToQString(TextView text);
[[nodiscard]] Text FromQString(const QString& text);
// Windows edit boxes hold CR LF line breaks, Qt's hold LF.
[[nodiscard]] QString ToEditText(TextView text);
[[nodiscard]] Text FromEditText(const QString& text);

} // namespace tovrik::ui
