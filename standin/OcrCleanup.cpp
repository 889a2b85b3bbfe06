#include "OcrCleanup.h"

#include "OcrImage.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tovrik::standin {

namespace {

// Gray levels under this are dark (ink).
constexpr int kDarkBelow = 128;
// The background is judged in blocks this many pixels square: less than the height of small
// text, so that text covers less than half of a block.
constexpr int kBlock = 8;
// Blocks next to each other whose backgrounds differ by at most this much are of one area, as
// long as they differ from where the area began by at most the spread (a title bar's gradient).
constexpr int kSameBackground = 16;
constexpr int kAreaSpread = 40;
// An area is at least this many blocks high and wide (a title bar, a selected row).
constexpr int kMinAreaBlocks = 2;
// Text is at least this much lighter or darker than its background.
constexpr int kTextContrast = 48;
// The band along a frame's edges (lines of 1 to 2 pixels, anti-aliased, rounded corners).
constexpr int kFrameBand = 3;
// Rules are ink at or below this gray level (anti-aliased edges of light lines included).
constexpr int kRuleBelow = 200;
// Blobs whose ink covers this many tenths of their box are solid (icons), where characters cover
// under half of theirs.
constexpr int kSolidTenths = 6;

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

void InvertDarkAreas(Pix* gray) {
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return;
    }
    const int width = pixGetWidth(gray), height = pixGetHeight(gray);
    const int columns = (width + kBlock - 1) / kBlock, rows = (height + kBlock - 1) / kBlock;
    l_uint32* data = pixGetData(gray);
    const int wpl = pixGetWpl(gray);
    auto at = [&](int x, int y) { return static_cast<int>(GET_DATA_BYTE(data + static_cast<ptrdiff_t>(y) * wpl, x)); };
    // The background of each block: its commonest level.
    std::vector<int> background(static_cast<size_t>(columns) * rows);
    for (int by = 0; by < rows; ++by) {
        for (int bx = 0; bx < columns; ++bx) {
            std::array<int, 16> counts{};
            std::array<int, 16> sums{};
            for (int y = by * kBlock; y < std::min(height, (by + 1) * kBlock); ++y) {
                for (int x = bx * kBlock; x < std::min(width, (bx + 1) * kBlock); ++x) {
                    const int value = at(x, y);
                    ++counts[value >> 4];
                    sums[value >> 4] += value;
                }
            }
            const auto most = static_cast<size_t>(std::max_element(counts.begin(), counts.end()) - counts.begin());
            background[static_cast<size_t>(by) * columns + bx] = counts[most] > 0 ? sums[most] / counts[most] : 255;
        }
    }
    // Areas of blocks of about the same background, each judged by its text: lighter than the
    // background, or darker.
    std::vector<int> area(background.size(), -1);
    std::vector<size_t> members;
    for (size_t seed = 0; seed < background.size(); ++seed) {
        if (area[seed] >= 0) {
            continue;
        }
        members.assign(1, seed);
        area[seed] = static_cast<int>(seed);
        int left = columns, right = -1, top = rows, bottom = -1;
        for (size_t k = 0; k < members.size(); ++k) {
            const int bx = static_cast<int>(members[k] % columns), by = static_cast<int>(members[k] / columns);
            left = std::min(left, bx), right = std::max(right, bx), top = std::min(top, by),
            bottom = std::max(bottom, by);
            const std::array<std::array<int, 2>, 4> steps{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
            for (const auto& step : steps) {
                const int nx = bx + step[0], ny = by + step[1];
                const size_t next = static_cast<size_t>(ny) * columns + nx;
                if (nx >= 0 && ny >= 0 && nx < columns && ny < rows && area[next] < 0 &&
                    std::abs(background[next] - background[members[k]]) <= kSameBackground &&
                    std::abs(background[next] - background[seed]) <= kAreaSpread) {
                    area[next] = static_cast<int>(seed);
                    members.push_back(next);
                }
            }
        }
        // Too small to be an area: the inside of a character, an icon, a check box.
        if (right - left + 1 < kMinAreaBlocks || bottom - top + 1 < kMinAreaBlocks) {
            continue;
        }
        long lighter = 0, darker = 0;
        for (const size_t block : members) {
            const int level = background[block];
            const int bx = static_cast<int>(block % columns) * kBlock, by = static_cast<int>(block / columns) * kBlock;
            for (int y = by; y < std::min(height, by + kBlock); ++y) {
                for (int x = bx; x < std::min(width, bx + kBlock); ++x) {
                    const int value = at(x, y);
                    lighter += value > level + kTextContrast ? 1 : 0;
                    darker += value < level - kTextContrast ? 1 : 0;
                }
            }
        }
        // Each block of the area made dark text on white: inverted when the text is light, and
        // its background stretched to white (a gradient, a gray bar would stay gray otherwise).
        const bool invert = lighter > darker;
        if (!invert) {
            continue; // dark text on light is read as it is
        }
        for (const size_t block : members) {
            const int level = invert ? 255 - background[block] : background[block];
            const int bx = static_cast<int>(block % columns) * kBlock, by = static_cast<int>(block / columns) * kBlock;
            for (int y = by; y < std::min(height, by + kBlock); ++y) {
                l_uint32* line = pixGetData(gray) + static_cast<ptrdiff_t>(y) * wpl;
                for (int x = bx; x < std::min(width, bx + kBlock); ++x) {
                    const int value = invert ? 255 - at(x, y) : at(x, y);
                    SET_DATA_BYTE(line, x, level > 0 ? std::min(255, value * 255 / level) : 255);
                }
            }
        }
    }
}

void RemoveFrames(Pix* gray, int minWidth, int minHeight) {
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return;
    }
    const PixPtr ink(pixThresholdToBinary(gray, kRuleBelow));
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

void RemoveRules(Pix* gray, int minLength) {
    if (gray == nullptr || pixGetDepth(gray) != 8 || minLength < 2) {
        return;
    }
    const PixPtr ink(pixThresholdToBinary(gray, kRuleBelow));
    const PixPtr across(ink ? pixOpenBrick(nullptr, ink.get(), minLength, 1) : nullptr);
    const PixPtr down(ink ? pixOpenBrick(nullptr, ink.get(), 1, minLength) : nullptr);
    if (!across || !down) {
        return;
    }
    pixOr(across.get(), across.get(), down.get());
    // The anti-aliased pixels beside a rule go with it.
    const PixPtr wide(pixDilateBrick(nullptr, across.get(), 3, 3));
    if (wide) {
        pixSetMasked(gray, wide.get(), 255);
    }
}

void RemoveSolidBlobs(Pix* gray, int minSide) {
    if (gray == nullptr || pixGetDepth(gray) != 8 || minSide < 1) {
        return;
    }
    const PixPtr ink(pixThresholdToBinary(gray, kDarkBelow));
    if (!ink) {
        return;
    }
    ForEachBlob(ink.get(), minSide, minSide, [gray](const Box& box, Pix* mask) {
        if (10 * Count(mask) >= kSolidTenths * box.w * box.h) {
            pixRasterop(gray, box.x, box.y, box.w, box.h, PIX_SET, nullptr, 0, 0);
        }
    });
}

} // namespace tovrik::standin
