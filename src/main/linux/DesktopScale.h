#pragma once

#include <QByteArray>

#include <optional>
#include <utility>
#include <vector>

namespace tovrik {

// Qt lays the program out 1:1 in physical pixels, whatever scale the desktop asks for: the
// overlay then lies pixel for pixel on the screen it froze and a selection is the picture's
// own pixels, as for a per-monitor DPI-aware Windows process. Desktops ask through the
// environment (KDE writes QT_SCREEN_SCALE_FACTORS, uniform or per screen as "1;2", others
// QT_SCALE_FACTOR or QT_ENABLE_HIGHDPI_SCALING with Xft.dpi). The forms stay 1:1 as well: their
// controls have pixel positions and the font a pixel size, so Xft.dpi changes nothing either.
//
// Programs started from here (the browser, the file manager, a restarted copy) are to get the
// desktop's own settings, so the environment is put back once Qt has read it.
class DesktopScale {
public:
    // Before the QApplication is made.
    DesktopScale();
    DesktopScale(const DesktopScale&) = delete;
    DesktopScale& operator=(const DesktopScale&) = delete;

    // Once the QApplication exists: Qt reads these variables only while it starts.
    void RestoreForChildren();

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

} // namespace tovrik
