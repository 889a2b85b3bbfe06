#include "ui/win32/FormReport.h"

#include "ui/win32/FormWindow.h"
#include "ui/win32/WideText.h"

namespace tovrik::ui::win32 {

namespace {

std::string Escaped(TextView text) {
    std::string escaped;
    for (const char c : Utf8(text)) {
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// Where a native control is on the screen, for tests that click it: left,top,width,height.
std::string ScreenRect(HWND window) {
    RECT area{};
    if (window == nullptr || !GetWindowRect(window, &area)) {
        return "-";
    }
    return std::to_string(area.left) + "," + std::to_string(area.top) + "," + std::to_string(area.right - area.left) +
           "," + std::to_string(area.bottom - area.top);
}

const char* Flag(bool value) {
    return value ? "1" : "0";
}

} // namespace

std::string ReportForm(const FormWindow& form) {
    const HWND window = form.Handle();
    if (window == nullptr) {
        return {};
    }
    std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(
        std::max(0, GetWindowTextW(window, caption.data(), static_cast<int>(caption.size())))));
    const std::string name = Escaped(form.Declaration().name);
    std::string report = "form " + name + " visible=" + Flag(IsWindowVisible(window) != 0) +
                         " at=" + ScreenRect(window) + " caption=" + Escaped(Narrow(caption)) + "\n";
    const FormControls& controls = form.Controls();
    for (const NativeControl& control : controls.All()) {
        report += name + "." + Escaped(control.declaration.name);
        report += std::string(" visible=") + Flag(controls.GetVisible(control));
        report += std::string(" enabled=") + Flag(controls.GetEnabled(control));
        report += std::string(" checked=") + Flag(controls.GetChecked(control));
        report += " picture=" + std::to_string(control.picture.size());
        report += " at=" + ScreenRect(control.window);
        report += " text=" + Escaped(controls.GetText(control)) + "\n";
    }
    return report;
}

} // namespace tovrik::ui::win32
