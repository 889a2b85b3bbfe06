#pragma once

#include "capture/Geometry.h"
#include "capture/MonitorLayout.h"
#include "capture/OverlayInput.h"
#include "capture/OverlayLayout.h"
#include "capture/OverlayPainter.h"

#include <cstdint>
#include <optional>

namespace tovrik::settings {
class Clock;
}

namespace tovrik::capture {

class FileDialogHost;
class OverlayWindow;
class ScreenSettle;
class ScreenSource;

// The chosen area of a finished overlay, in frozen-screen pixels.
struct OverlaySelection {
    const ui::Bitmap* screen = nullptr; // null when the display server keeps the frozen screen
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The full-screen selection overlay: one per process, one run at a time. It freezes the virtual
// screen, lets the user drag, resize or move a rectangle, and ends with a double-click, the
// context menu or ESC. The backend's window feeds it events; it answers with drawing on its
// canvases and with requests to the window.
class CaptureOverlay final : public OverlayInput {
public:
    static constexpr int kCommandFinish = 150;
    static constexpr int kCommandSave = 151;
    static constexpr int kCommandReselect = 152;
    static constexpr int kCommandCancel = 153;
    static constexpr int kKeyEscape = 27;
    // Clicks within this time after the context menu closed are the menu's own, not a new
    // selection.
    static constexpr std::uint64_t kMenuGuardMs = 200;
    // How long the freeze waits for windows just shown or hidden to reach the screen: long
    // enough for a map and a paint, short enough not to be felt after the hotkey.
    static constexpr int kSettleLimitMs = 100;

    CaptureOverlay(ScreenSource& screen, ScreenSettle& settle, OverlayWindow& window, FileDialogHost& dialogs,
                   const settings::Clock& clock);

    // Shows the overlay and returns when it closes: true when the user finished with a
    // selection at least 1 x 1 pixel. False at once while another run is going on. The
    // selection and the frozen screen stay until Reset.
    [[nodiscard]] bool Run();
    [[nodiscard]] OverlaySelection Selection() const;
    // The frozen screen's pixels of the selection (black where it left the screen); empty
    // when there is no frozen screen.
    [[nodiscard]] ui::Bitmap SelectedPixels() const;
    // Clears the state and frees the canvases; ignored while a run is going on, whose window
    // still shows them.
    void Reset();

    [[nodiscard]] bool IsOpen() const { return m_open; }
    [[nodiscard]] int HitCode() const { return m_hitCode; }
    [[nodiscard]] bool Dragging() const { return m_dragging; }
    [[nodiscard]] bool Selected() const { return m_selected; }
    [[nodiscard]] bool MenuActive() const;
    [[nodiscard]] Rect RawSelection() const { return m_raw; }
    [[nodiscard]] const OverlayScene& Scene() const { return m_scene; }
    [[nodiscard]] Cursor CurrentCursor() const { return m_cursor; }
    [[nodiscard]] int ScreenWidth() const { return m_screenArea.Width(); }
    [[nodiscard]] int ScreenHeight() const { return m_screenArea.Height(); }
    [[nodiscard]] const ui::Bitmap& Frame() const { return m_painter.Frame(); }
    // The monitors in frozen-screen pixels.
    [[nodiscard]] const MonitorLayout& Monitors() const { return m_monitors; }

    void OnLeftButtonDown(Point pointer) override;
    void OnLeftButtonUp(Point pointer) override;
    void OnLeftDoubleClick(Point pointer) override;
    void OnRightButtonUp(Point pointer) override;
    void OnMouseMove(Point pointer) override;
    void OnKeyUp(int virtualKey) override;
    void OnCloseRequest() override;
    void OnCommand(int id);

private:
    [[nodiscard]] bool Freeze();
    void Update();
    void Redraw();
    void ChangeRawSelection(Point pointer);
    void SetCursor(Cursor cursor);
    void ShowContextMenu();
    void Finish();
    void Cancel();
    void Reselect();
    void SaveToFile();

    ScreenSource& m_screen;
    ScreenSettle& m_settle;
    OverlayWindow& m_window;
    FileDialogHost& m_dialogs;
    const settings::Clock& m_clock;

    OverlayPainter m_painter;
    Rect m_screenArea; // virtual screen in desktop pixels
    MonitorLayout m_monitors;
    Rect m_hintMonitor; // where the hint is while nothing is selected: under the pointer
    bool m_open = false;
    bool m_result = false;
    int m_hitCode = kHitNothing;
    bool m_dragging = false;
    bool m_selected = false;
    bool m_menuActive = false;
    std::optional<std::uint64_t> m_menuClosedAt; // empty while the menu is up
    Rect m_selection;                            // m_raw normalised by the last Update
    Cursor m_cursor = Cursor::Arrow;
    Rect m_raw;
    OverlayScene m_scene;
    Point m_anchor;
    Point m_press;
};

} // namespace tovrik::capture
