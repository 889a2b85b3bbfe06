#pragma once

#include <string>

namespace tovrik::ui::win32 {

class FormWindow;

// The form and the state of each of its controls, one UTF-8 line each, line breaks inside
// texts written as \r and \n:
//   form <name> visible=<0|1> at=<screen rect> caption=<text>
//   <form>.<control> visible=<0|1> enabled=<0|1> checked=<0|1> picture=<bytes> at=<screen rect> text=<text>
// A screen rectangle is left,top,width,height, or "-" for controls the form draws itself.
[[nodiscard]] std::string ReportForm(const FormWindow& form);

} // namespace tovrik::ui::win32
