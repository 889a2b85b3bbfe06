#include "capture/OverlayPainter.h"

#include <algorithm>

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

} // namespace

void OverlayPainter::Prepare(ui::Bitmap&& screen) {
    m_screen.Adopt(std::move(screen));
    const int width = m_screen.Width();
    const int height = m_screen.Height();
    m_back.Resize(width, height);
    m_back.BlendBlackRows(m_screen, kDimAlpha, 0, height);
    // Sized, not drawn: their memory stays untouched until a band is made.
    m_dim.Resize(width, height);
    m_dark.Resize(width, height);
    const auto bands = static_cast<std::size_t>((height + kBandRows - 1) / kBandRows);
    m_dimBands.assign(bands, false);
    m_darkBands.assign(bands, false);
    m_painted = OverlayScene{};
}

void OverlayPainter::Release() {
    m_screen.Release();
    m_dim.Release();
    m_dark.Release();
    m_back.Release();
    m_dimBands.clear();
    m_darkBands.clear();
    m_painted = OverlayScene{};
}

void OverlayPainter::CopyBlended(MemoryCanvas& copy, std::vector<bool>& bandsMade, int alpha, const Rect& area) {
    const Rect clip = area.Intersected(m_back.Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    for (int band = clip.top / kBandRows; band * kBandRows < clip.bottom; ++band) {
        const auto index = static_cast<std::size_t>(band);
        if (!bandsMade[index]) {
            copy.BlendBlackRows(m_screen, alpha, band * kBandRows, (band + 1) * kBandRows);
            bandsMade[index] = true;
        }
    }
    copy.DrawRectTo(m_back, clip);
}

Rect OverlayPainter::Paint(const OverlayScene& scene, TextPainter& text) {
    if (!m_back.Created() || scene == m_painted) {
        return {};
    }
    const Rect changed = Extent(m_painted).United(Extent(scene)).Intersected(m_back.Bounds());
    Restore(m_painted, scene);
    Draw(m_painted, scene, text);
    m_painted = scene;
    return changed;
}

// What the old scene put outside the new selection goes back to the dimmed screen; inside the
// new selection Draw takes care of it.
void OverlayPainter::Restore(const OverlayScene& old, const OverlayScene& scene) {
    const Rect hole = scene.showSelection ? scene.selection : Rect{};
    const auto restore = [this](const Rect& part) { CopyBlended(m_dim, m_dimBands, kDimAlpha, part); };
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
        const auto uncover = [this](const Rect& part) { m_screen.DrawRectTo(m_back, part); };
        ForEachPartOutside(scene.selection, shown, uncover);
        if (old.showSelection) {
            for (const Rect& handle : old.handles) {
                uncover(handle.Intersected(scene.selection));
            }
        }
        uncover(old.info.box.Intersected(scene.selection));
        m_back.FrameRect(scene.selection, kFrameColor);
        for (const Rect& handle : scene.handles) {
            m_back.FillRect(handle, kFrameColor);
        }
    }
    if (scene.info.box.IsEmpty()) {
        return;
    }
    CopyBlended(m_dark, m_darkBands, kDarkAlpha, scene.info.box);
    Rect textBox = scene.info.box;
    textBox.top += kTextInset;
    text.DrawText(m_back.Bitmap(), textBox, scene.info.text);
}

Rect OverlayPainter::Extent(const OverlayScene& scene) {
    Rect extent = scene.info.box;
    if (scene.showSelection) {
        extent = extent.United(scene.selection.Inflated(kHandleReach));
    }
    return extent;
}

} // namespace tovrik::capture
