#include "OcrImage.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstddef>

namespace tovrik::standin {

namespace {

constexpr float kDarkMean = 128.0F;
constexpr int kMeanSampling = 4;
// A dark theme's surfaces are several grays (window #2f2f2f, fields #3a3a3a, buttons #4a4a4a);
// made light they are 208, 197 and 181, and the models take a button's fill for part of its
// text. Everything this light or lighter is paper; the levels below are spread over the range.
constexpr int kDarkThemePaper = 195;

// True when column x of a 1-bit picture has a set pixel between the rows top and bottom
// (exclusive, clipped to the picture).
bool ColumnHasInk(Pix* binary, int x, int top, int bottom) {
    const l_uint32* data = pixGetData(binary);
    const int wordsPerLine = pixGetWpl(binary);
    for (int y = std::max(top, 0); y < std::min(bottom, pixGetHeight(binary)); ++y) {
        if (GET_DATA_BIT(data + static_cast<ptrdiff_t>(y) * wordsPerLine, x) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void PixCloser::operator()(Pix* pix) const {
    pixDestroy(&pix);
}

PixPtr DecodeGray(std::string_view bytes) {
    PixPtr decoded(pixReadMem(reinterpret_cast<const l_uint8*>(bytes.data()), bytes.size()));
    if (!decoded) {
        return nullptr;
    }
    PixPtr gray(pixConvertTo8(decoded.get(), 0));
    if (!gray) {
        return nullptr;
    }
    l_float32 mean = 255.0F;
    if (pixGetAverageMasked(gray.get(), nullptr, 0, 0, kMeanSampling, L_MEAN_ABSVAL, &mean) == 0 && mean < kDarkMean) {
        pixInvert(gray.get(), gray.get());
        pixGammaTRC(gray.get(), gray.get(), 1.0F, 0, kDarkThemePaper);
    }
    return gray;
}

PixPtr ScaleGray(Pix* gray, int factor) {
    if (factor == 1) {
        return PixPtr(pixClone(gray));
    }
    const auto f = static_cast<l_float32>(factor);
    return PixPtr(pixScaleGrayLI(gray, f, f));
}

PixPtr Crop(Pix* pix, int left, int top, int width, int height) {
    Box* box = boxCreate(left, top, width, height);
    PixPtr part(box != nullptr ? pixClipRectangle(pix, box, nullptr) : nullptr);
    boxDestroy(&box);
    return part;
}

PixPtr WithWhite(Pix* gray, int above, int below, int after) {
    constexpr l_uint32 kWhite = 255;
    return PixPtr(pixAddBorderGeneral(gray, 0, std::max(0, after), std::max(0, above), std::max(0, below), kWhite));
}

int InkEnd(Pix* binary, int from, int to, int top, int bottom) {
    if (binary == nullptr || pixGetDepth(binary) != 1) {
        return from;
    }
    from = std::max(from, 0);
    for (int x = std::min(to, pixGetWidth(binary)) - 1; x >= from; --x) {
        if (ColumnHasInk(binary, x, top, bottom)) {
            return x + 1;
        }
    }
    return from;
}

int InkRunEnd(Pix* binary, int from, int maxGap, int limit, int top, int bottom) {
    if (binary == nullptr || pixGetDepth(binary) != 1) {
        return from;
    }
    limit = std::min(limit, pixGetWidth(binary));
    int end = from;
    for (int x = std::max(from, 0); x < limit && x - end < maxGap; ++x) {
        end = ColumnHasInk(binary, x, top, bottom) ? x + 1 : end;
    }
    return end;
}

int PixWidth(Pix* pix) {
    return pixGetWidth(pix);
}
int PixHeight(Pix* pix) {
    return pixGetHeight(pix);
}

} // namespace tovrik::standin
