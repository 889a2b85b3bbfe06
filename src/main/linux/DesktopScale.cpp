#include "DesktopScale.h"

#include <QtGlobal>

namespace tovrik {

namespace {

// Every variable through which Qt 6 (and Qt 5, for QT_AUTO_SCREEN_SCALE_FACTOR and
// QT_DEVICE_PIXEL_RATIO) can scale a program.
constexpr const char* kScaleVariables[] = {"QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR",
                                           "QT_SCREEN_SCALE_FACTORS",   "QT_AUTO_SCREEN_SCALE_FACTOR",
                                           "QT_DEVICE_PIXEL_RATIO",     "QT_USE_PHYSICAL_DPI"};

} // namespace

DesktopScale::DesktopScale() {
    for (const char* name : kScaleVariables) {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qunsetenv(name);
    }
    // Without it Qt scales by the screens' DPI (Xft.dpi on X11).
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void DesktopScale::RestoreForChildren() {
    for (const auto& [name, value] : m_saved) {
        if (value) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
}

} // namespace tovrik
