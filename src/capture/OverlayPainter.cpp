#include "capture/OverlayPainter.h"

#include "capture/MemoryOverlayCanvas.h"

#include <utility>

namespace tovrik::capture {

namespace {

// Calls f with up to four rectangles that together cover `area` minus `hole`.
template <typename F> void ForEachPartOutside(const Rect& area, const Rect& hole, F f) {
    if (area.IsEmpty()) {
        return;
    }
    const Rect inner = area.Intersected(hole);
    if (inner.IsEmpty()) {
        f(area);
        return;
    }
    f(Rect{area.left, area.top, area.right, inner.top});
    f(Rect{area.left, inner.bottom, area.right, area.bottom});
    f(Rect{area.left, inner.top, inner.left, inner.bottom});
    f(Rect{inner.right, inner.top, area.right, inner.bottom});
}

// A one-pixel border along the inside of the rectangle.
void FrameRect(OverlayCanvas& canvas, const Rect& area) {
    if (area.IsEmpty()) {
        return;
    }
    const Color color = OverlayPainter::kFrameColor;
    canvas.FillRect({area.left, area.top, area.right, area.top + 1}, color);
    canvas.FillRect({area.left, area.bottom - 1, area.right, area.bottom}, color);
    canvas.FillRect({area.left, area.top, area.left + 1, area.bottom}, color);
    canvas.FillRect({area.right - 1, area.top, area.right, area.bottom}, color);
}

} // namespace

void OverlayPainter::Prepare(std::unique_ptr<OverlayCanvas> canvas) {
    m_canvas = std::move(canvas);
    m_painted = OverlayScene{};
    if (m_canvas) {
        m_canvas->ShowScreen(m_canvas->Bounds(), kDimAlpha);
    }
}

void OverlayPainter::Prepare(ui::Bitmap&& screen) {
    Prepare(std::make_unique<MemoryOverlayCanvas>(std::move(screen)));
}

void OverlayPainter::Release() {
    m_canvas.reset();
    m_painted = OverlayScene{};
}

const ui::Bitmap& OverlayPainter::Frame() const {
    static const ui::Bitmap kNone;
    const ui::Bitmap* frame = m_canvas ? m_canvas->FramePixels() : nullptr;
    return frame != nullptr ? *frame : kNone;
}

Rect OverlayPainter::Paint(const OverlayScene& scene, TextPainter& text) {
    if (!m_canvas || m_canvas->Bounds().IsEmpty() || scene == m_painted) {
        return {};
    }
    const Rect changed = Extent(m_painted).United(Extent(scene)).Intersected(m_canvas->Bounds());
    Restore(m_painted, scene);
    Draw(m_painted, scene, text);
    m_painted = scene;
    return changed;
}

// What the old scene put outside the new selection goes back to the dimmed screen; inside the
// new selection Draw takes care of it.
void OverlayPainter::Restore(const OverlayScene& old, const OverlayScene& scene) {
    const Rect hole = scene.showSelection ? scene.selection : Rect{};
    const auto restore = [this](const Rect& part) { m_canvas->ShowScreen(part, kDimAlpha); };
    if (old.showSelection) {
        ForEachPartOutside(old.selection.Inflated(kHandleReach), hole, restore);
    }
    ForEachPartOutside(old.info.box, hole, restore);
}

void OverlayPainter::Draw(const OverlayScene& old, const OverlayScene& scene, TextPainter& text) {
    if (scene.showSelection) {
        // The undimmed screen, except where the back buffer shows it already: inside the old
        // selection's frame and away from the old handles and information box.
        const Rect shown = old.showSelection ? old.selection.Inflated(-1) : Rect{};
        const auto uncover = [this](const Rect& part) { m_canvas->ShowScreen(part, 0); };
        ForEachPartOutside(scene.selection, shown, uncover);
        if (old.showSelection) {
            for (const Rect& handle : old.handles) {
                uncover(handle.Intersected(scene.selection));
            }
        }
        uncover(old.info.box.Intersected(scene.selection));
        FrameRect(*m_canvas, scene.selection);
        for (const Rect& handle : scene.handles) {
            m_canvas->FillRect(handle, kFrameColor);
        }
    }
    if (scene.info.box.IsEmpty()) {
        return;
    }
    m_canvas->ShowScreen(scene.info.box, kDarkAlpha);
    Rect textBox = scene.info.box;
    textBox.top += kTextInset;
    m_canvas->DrawText(textBox, scene.info.text, text);
}

Rect OverlayPainter::Extent(const OverlayScene& scene) {
    Rect extent = scene.info.box;
    if (scene.showSelection) {
        extent = extent.United(scene.selection.Inflated(kHandleReach));
    }
    return extent;
}

} // namespace tovrik::capture
