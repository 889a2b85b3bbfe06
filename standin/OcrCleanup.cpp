#include "OcrCleanup.h"

#include "OcrImage.h"

#include <leptonica/allheaders.h>

#include <memory>

namespace tovrik::standin {

namespace {

// The band along a frame's edges (lines of 1 to 2 pixels, anti-aliased, rounded corners).
constexpr int kFrameBand = 3;
// Frames are ink at or below this gray level (anti-aliased edges of light lines included).
constexpr int kFrameInkBelow = 200;

struct PixaCloser {
    void operator()(Pixa* pixa) const { pixaDestroy(&pixa); }
};
using PixaPtr = std::unique_ptr<Pixa, PixaCloser>;
struct BoxCloser {
    void operator()(Box* box) const { boxDestroy(&box); }
};
using BoxPtr = std::unique_ptr<Box, BoxCloser>;

int Count(Pix* binary) {
    l_int32 count = 0;
    return pixCountPixels(binary, &count, nullptr) == 0 ? count : 0;
}

// Calls `visit` with the box and the mask (as large as the box) of every connected blob of the
// ink (8-connected) at least minWidth wide and minHeight high.
template <typename Visit> void ForEachBlob(Pix* ink, int minWidth, int minHeight, Visit visit) {
    Pixa* found = nullptr;
    Boxa* boxes = pixConnComp(ink, &found, 8);
    boxaDestroy(&boxes);
    const PixaPtr components(found);
    const int count = components ? pixaGetCount(components.get()) : 0;
    for (int k = 0; k < count; ++k) {
        const BoxPtr box(pixaGetBox(components.get(), k, L_COPY));
        if (!box || box->w < minWidth || box->h < minHeight) {
            continue;
        }
        const PixPtr mask(pixaGetPix(components.get(), k, L_CLONE));
        if (mask) {
            visit(*box, mask.get());
        }
    }
}

} // namespace

void RemoveFrames(Pix* gray, int minWidth, int minHeight) {
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return;
    }
    const PixPtr ink(pixThresholdToBinary(gray, kFrameInkBelow));
    if (!ink) {
        return;
    }
    ForEachBlob(ink.get(), minWidth, minHeight, [gray](const Box& box, Pix* mask) {
        // A frame's ink lies along its box; clearing the band along the edges leaves little.
        const PixPtr inside(pixCopy(nullptr, mask));
        pixRasterop(inside.get(), 0, 0, box.w, kFrameBand, PIX_CLR, nullptr, 0, 0);
        pixRasterop(inside.get(), 0, box.h - kFrameBand, box.w, kFrameBand, PIX_CLR, nullptr, 0, 0);
        pixRasterop(inside.get(), 0, 0, kFrameBand, box.h, PIX_CLR, nullptr, 0, 0);
        pixRasterop(inside.get(), box.w - kFrameBand, 0, kFrameBand, box.h, PIX_CLR, nullptr, 0, 0);
        if (10 * Count(inside.get()) <= Count(mask)) {
            const PixPtr wide(pixDilateBrick(nullptr, mask, 3, 3));
            if (wide) {
                pixPaintThroughMask(gray, wide.get(), box.x - 1, box.y - 1, 0xffffffff);
            }
        }
    });
}

} // namespace tovrik::standin
