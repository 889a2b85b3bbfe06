#include "capture/CaptureOverlay.h"

#include "capture/FileDialog.h"
#include "capture/ImageFile.h"
#include "capture/OverlayWindow.h"
#include "capture/ScreenSettle.h"
#include "capture/ScreenSource.h"
#include "settings/Clock.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace tovrik::capture {

namespace {

constexpr TextView kSaveFilter = "PNG图片(*.png)|*.png|JPG图片(*.jpg)|*.jpg|GIF图片(*.gif)|*.gif|BMP图片(*.bmp)|*.bmp";
constexpr TextView kSaveExtension = "png";

// The work area widened to every monitor.
Rect VirtualScreen(const Rect& workArea, const std::vector<Rect>& monitors) {
    Rect area = workArea;
    for (const Rect& monitor : monitors) {
        area = {std::min(area.left, monitor.left), std::min(area.top, monitor.top), std::max(area.right, monitor.right),
                std::max(area.bottom, monitor.bottom)};
    }
    return area;
}

} // namespace

CaptureOverlay::CaptureOverlay(ScreenSource& screen, ScreenSettle& settle, OverlayWindow& window,
                               FileDialogHost& dialogs, const settings::Clock& clock)
    : m_screen(screen), m_settle(settle), m_window(window), m_dialogs(dialogs), m_clock(clock) {}

bool CaptureOverlay::Run() {
    if (m_open) {
        return false;
    }
    Reset();
    if (!Freeze()) {
        Reset();
        return false;
    }
    m_open = true;
    const bool shown = m_window.RunModal(m_screenArea, *m_painter.Canvas(), *this);
    m_open = false;
    if (!shown || !m_selection.HasArea()) {
        m_result = false;
    }
    return m_result;
}

OverlaySelection CaptureOverlay::Selection() const {
    const OverlayCanvas* canvas = m_painter.Canvas();
    return {canvas != nullptr ? canvas->ScreenPixels() : nullptr, m_selection.left, m_selection.top,
            m_selection.Width(), m_selection.Height()};
}

ui::Bitmap CaptureOverlay::SelectedPixels() const {
    const OverlayCanvas* canvas = m_painter.Canvas();
    return canvas != nullptr ? canvas->CropScreen(m_selection) : ui::Bitmap{};
}

void CaptureOverlay::Reset() {
    if (m_open) {
        return;
    }
    m_result = false;
    m_screenArea = {};
    m_monitors = {};
    m_hintMonitor = {};
    m_hitCode = kHitNothing;
    m_dragging = false;
    m_selected = false;
    m_menuActive = false;
    m_menuClosedAt.reset();
    m_painter.Release();
    m_cursor = Cursor::Arrow;
    m_raw = {};
    m_selection = {};
    m_scene = {};
    m_anchor = {};
    m_press = {};
}

bool CaptureOverlay::MenuActive() const {
    if (!m_menuActive) {
        return false;
    }
    return !m_menuClosedAt || m_clock.TickCount() - *m_menuClosedAt < kMenuGuardMs;
}

bool CaptureOverlay::Freeze() {
    const Rect workArea = m_screen.WorkArea();
    const std::vector<Rect> monitors = m_screen.Monitors();
    const Rect area = VirtualScreen(workArea, monitors);
    if (!area.HasArea()) {
        return false;
    }
<<<<<<< HEAD
    std::unique_ptr<OverlayCanvas> canvas = m_screen.Freeze(area);
    if (!canvas || canvas->Width() != area.Width() || canvas->Height() != area.Height()) {
        return false;
    }
    m_screenArea = area;
    m_painter.Prepare(std::move(canvas));
=======
    // The picture is to show what the user saw when asking for it.
    m_settle.AwaitOwnWindows(kSettleLimitMs);
    ui::Bitmap picture;
    if (!m_screen.Grab(area, picture) || picture.width != area.Width() || picture.height != area.Height()) {
        return false;
    }
    m_screenArea = area;
    m_monitors = MonitorLayout(monitors, workArea, area);
    const std::optional<Point> pointer = m_screen.PointerPosition();
    m_hintMonitor = pointer ? m_monitors.At({pointer->x - area.left, pointer->y - area.top}) : m_monitors.Primary();
    m_painter.Prepare(std::move(picture));
>>>>>>> h14-dpi
    Update();
    return true;
}

void CaptureOverlay::Update() {
    if (!m_dragging && !m_selected) {
        m_scene.showSelection = false;
        m_scene.info = DefaultInfoPanel(m_hintMonitor);
    } else {
        m_selection = m_raw.Normalized();
        m_scene.showSelection = true;
        m_scene.selection = m_selection;
        m_scene.handles = SelectionHandles(m_selection);
        m_scene.info = SelectionInfoPanel(m_selection, m_monitors.Holding(m_selection));
    }
    Redraw();
}

void CaptureOverlay::Redraw() {
    const Rect changed = m_painter.Paint(m_scene, m_window);
    if (m_open && !changed.IsEmpty()) {
        m_window.Present(changed);
    }
}

void CaptureOverlay::SetCursor(Cursor cursor) {
    m_cursor = cursor;
    m_window.SetCursor(cursor);
}

void CaptureOverlay::OnLeftButtonDown(Point pointer) {
    if (MenuActive() || m_dragging) {
        return;
    }
    m_dragging = true;
    if (m_hitCode != kHitNothing) {
        m_anchor = {m_raw.left, m_raw.top};
        m_press = pointer;
    } else {
        m_selected = false;
        m_anchor = pointer;
        m_press = pointer;
        m_raw = {pointer.x, pointer.y, pointer.x, pointer.y};
    }
    Update();
}

void CaptureOverlay::OnMouseMove(Point pointer) {
    if (m_dragging) {
        ChangeRawSelection(pointer);
        Update();
    } else if (m_selected && !MenuActive()) {
        const HitResult hit = HitTest(m_scene.handles, m_selection, pointer);
        m_hitCode = hit.code;
        SetCursor(hit.cursor);
    } else if (!m_selected && m_monitors.At(pointer) != m_hintMonitor) {
        // The hint goes along to the monitor the user looks at.
        m_hintMonitor = m_monitors.At(pointer);
        Update();
    }
}

void CaptureOverlay::ChangeRawSelection(Point p) {
    if (!m_selected) {
        m_press = p;
        m_raw = {m_anchor.x, m_anchor.y, p.x, p.y};
        return;
    }
    switch (m_hitCode) {
    case 1:
        m_raw.left = p.x;
        m_raw.top = p.y;
        break;
    case 2:
        m_raw.top = p.y;
        break;
    case 3:
        m_raw.right = p.x;
        m_raw.top = p.y;
        break;
    case 4:
        m_raw.left = p.x;
        break;
    case 5:
        m_raw.right = p.x;
        break;
    case 6:
        m_raw.left = p.x;
        m_raw.bottom = p.y;
        break;
    case 7:
        m_raw.bottom = p.y;
        break;
    case 8:
        m_raw.right = p.x;
        m_raw.bottom = p.y;
        break;
    case kHitInside: {
        // Not clamped: the selection may leave the screen.
        const int width = m_raw.Width();
        const int height = m_raw.Height();
        m_raw.left = m_anchor.x + (p.x - m_press.x);
        m_raw.top = m_anchor.y + (p.y - m_press.y);
        m_raw.right = m_raw.left + width;
        m_raw.bottom = m_raw.top + height;
        break;
    }
    default:
        break;
    }
}

void CaptureOverlay::OnLeftButtonUp(Point) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    if (m_selection.HasArea()) {
        m_raw = m_selection;
        m_selected = true;
        Update();
    } else {
        Reselect();
    }
}

void CaptureOverlay::OnLeftDoubleClick(Point) {
    Finish();
}

void CaptureOverlay::OnRightButtonUp(Point) {
    m_window.ReleaseMouseCapture();
    SetCursor(Cursor::Arrow);
    if (m_dragging) {
        m_dragging = false;
        Update();
    } else {
        ShowContextMenu();
    }
}

void CaptureOverlay::OnKeyUp(int virtualKey) {
    if (virtualKey == kKeyEscape) {
        Cancel();
    }
}

void CaptureOverlay::OnCloseRequest() {
    m_window.Close();
}

void CaptureOverlay::OnCommand(int id) {
    switch (id) {
    case kCommandFinish:
        Finish();
        break;
    case kCommandSave:
        SaveToFile();
        break;
    case kCommandReselect:
        Reselect();
        break;
    case kCommandCancel:
        Cancel();
        break;
    default:
        break;
    }
}

void CaptureOverlay::ShowContextMenu() {
    m_menuActive = true;
    m_menuClosedAt.reset();
    const bool withSelection = m_selected && m_selection.HasArea();
    const std::vector<MenuItem> items = {
        {kCommandReselect, "重新选择区域(&R)", withSelection},
        {kCommandFinish, "完成截图(&C)", withSelection},
        {kCommandSave, "保存到文件(&S)", withSelection},
        {0, "", true},
        {kCommandCancel, "退出截图(&X)", true},
    };
    const int chosen = m_window.ShowMenu(items);
    m_menuClosedAt = m_clock.TickCount();
    const auto item = std::find_if(items.begin(), items.end(),
                                   [chosen](const MenuItem& entry) { return entry.id != 0 && entry.id == chosen; });
    if (item != items.end() && item->enabled) {
        OnCommand(chosen);
    }
}

void CaptureOverlay::Finish() {
    if (m_selected) {
        m_result = true;
    } else {
        m_dragging = false;
        m_result = false;
    }
    m_window.Close();
}

void CaptureOverlay::Cancel() {
    m_selected = false;
    m_dragging = false;
    m_result = false;
    m_window.Close();
}

void CaptureOverlay::Reselect() {
    m_selected = false;
    m_dragging = false;
    m_hitCode = kHitNothing;
    SetCursor(Cursor::Arrow);
    Update();
}

void CaptureOverlay::SaveToFile() {
    FileDialog dialog(m_dialogs);
    dialog.Init(m_window.NativeHandle(), kSaveFilter, kSaveExtension);
    if (!dialog.Save()) {
        return;
    }
    const Text path = dialog.Path();
    if (path.empty()) {
        return;
    }
    // The overlay finishes whether or not the file could be written: the capture itself
    // goes on to the calling command, which has its own report.
    (void)SaveImageFile(SelectedPixels(), path);
    Finish();
}

} // namespace tovrik::capture
