#include "OcrCleanup.h"

#include "OcrImage.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tovrik::standin {

namespace {

// The band along a frame's edges (lines of 1 to 2 pixels, anti-aliased, rounded corners).
constexpr int kFrameBand = 3;
// Frames are ink at or below these gray levels: the light lines of a light theme (anti-aliased
// edges included); and, for a dark theme's picture made light, a button's fill is a mid gray
// (181 for the usual #4a4a4a) that is no ink under its darker border.
constexpr int kFrameInkBelow[] = {200, 150};

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

// Ink in a band is this far from the band's background, either way.
constexpr int kBandInk = 60;
// The share of a band's width at either end that holds a title bar's icon or buttons.
constexpr int kBandEndPercent = 15;
// Text is this close to black or to white.
constexpr int kTextExtreme = 16;
// Levels this close to a row's background become white with it (gradients, anti-aliasing).
constexpr int kBandPaperMargin = 20;

// Icons are ink this much darker than the page, or more.
constexpr int kIconBelowPaper = 20;

int Median(const std::array<int, 256>& histogram, int count) {
    int seen = 0;
    for (int level = 0; level < 256; ++level) {
        seen += histogram[static_cast<size_t>(level)];
        if (2 * seen >= count) {
            return level;
        }
    }
    return 255;
}

std::uint8_t* Row(Pix* gray, int y) {
    return reinterpret_cast<std::uint8_t*>(pixGetData(gray) + y * pixGetWpl(gray));
}

// Leptonica keeps 8-bit pixels in 32-bit words, most significant byte first.
std::uint8_t& At(std::uint8_t* row, int x) {
    return row[x ^ 3];
}

// The picture's median gray level: its page (window) behind the text.
int PaperLevel(Pix* gray) {
    std::array<int, 256> histogram{};
    const int width = static_cast<int>(pixGetWidth(gray));
    const int height = static_cast<int>(pixGetHeight(gray));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = Row(gray, y);
        for (int x = 0; x < width; ++x) {
            ++histogram[At(row, x)];
        }
    }
    return Median(histogram, width * height);
}

void NormaliseBand(Pix* gray, int top, int bottom, const std::vector<int>& medians) {
    // Text is drawn in the extremes, white or black; its shadow, a gradient or a button's
    // border in between. The side with more of its extreme is the text's. A title bar's icon and
    // buttons at its ends, drawn in either, are left out of the count.
    const int width = static_cast<int>(pixGetWidth(gray));
    long darker = 0;
    long lighter = 0;
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = Row(gray, y);
        const int background = medians[static_cast<size_t>(y)];
        for (int x = width * kBandEndPercent / 100; x < width - width * kBandEndPercent / 100; ++x) {
            const int level = At(row, x);
            darker += level < std::min(background - kBandInk, kTextExtreme) ? 1 : 0;
            lighter += level > std::max(background + kBandInk, 255 - kTextExtreme) ? 1 : 0;
        }
    }
    const bool invert = lighter > darker;
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = Row(gray, y);
        const int background = invert ? 255 - medians[static_cast<size_t>(y)] : medians[static_cast<size_t>(y)];
        const int paper = std::max(1, background - kBandPaperMargin);
        for (int x = 0; x < width; ++x) {
            const int level = invert ? 255 - At(row, x) : At(row, x);
            At(row, x) = static_cast<std::uint8_t>(std::min(255, level * 255 / paper));
        }
    }
}

// Paints white every frame among the blobs of the ink.
void RemoveFramesOf(Pix* gray, Pix* ink, int minWidth, int minHeight) {
    ForEachBlob(ink, minWidth, minHeight, [gray](const Box& box, Pix* mask) {
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

} // namespace

void RemoveFrames(Pix* gray, int minWidth, int minHeight) {
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return;
    }
    for (const int level : kFrameInkBelow) {
        const PixPtr ink(pixThresholdToBinary(gray, level));
        if (ink) {
            RemoveFramesOf(gray, ink.get(), minWidth, minHeight);
        }
    }
}

void RemoveIcons(Pix* gray, int minSide, int minFillPercent) {
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return;
    }
    // Icons are drawn in light colours too (a light blue diamond is gray 130 to 230 on a page of
    // 245), which a fixed level breaks into a rim and pieces; the page's own level tells.
    const PixPtr ink(pixThresholdToBinary(gray, std::max(kFrameInkBelow[0], PaperLevel(gray) - kIconBelowPaper)));
    if (!ink) {
        return;
    }
    ForEachBlob(ink.get(), minSide, minSide, [gray, minFillPercent](const Box& box, Pix* mask) {
        const bool squarish = box.w <= 2 * box.h && box.h <= 2 * box.w;
        if (squarish && 100L * Count(mask) >= static_cast<long>(minFillPercent) * box.w * box.h) {
            // With the shadow and the light rim around it.
            const int rim = std::max(box.w, box.h) / 8;
            pixRasterop(gray, box.x - rim, box.y - rim, box.w + 2 * rim, box.h + 2 * rim, PIX_SET, nullptr, 0, 0);
        }
    });
}

std::vector<RowBand> NormaliseBands(Pix* gray, int offPage, int minHeight, int maxHeight) {
    std::vector<RowBand> bands;
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return bands;
    }
    const int width = static_cast<int>(pixGetWidth(gray));
    const int height = static_cast<int>(pixGetHeight(gray));
    std::vector<int> medians(static_cast<size_t>(height));
    std::array<int, 256> page{};
    for (int y = 0; y < height; ++y) {
        std::array<int, 256> histogram{};
        std::uint8_t* row = Row(gray, y);
        for (int x = 0; x < width; ++x) {
            ++histogram[At(row, x)];
        }
        for (size_t level = 0; level < page.size(); ++level) {
            page[level] += histogram[level];
        }
        medians[static_cast<size_t>(y)] = Median(histogram, width);
    }
    const int paper = Median(page, width * height);
    for (int top = 0; top < height;) {
        int bottom = top;
        while (bottom < height && std::abs(medians[static_cast<size_t>(bottom)] - paper) > offPage) {
            ++bottom;
        }
        if (bottom - top >= minHeight && bottom - top <= maxHeight) {
            NormaliseBand(gray, top, bottom, medians);
            bands.push_back({top, bottom});
        }
        top = bottom + 1;
    }
    return bands;
}

} // namespace tovrik::standin
