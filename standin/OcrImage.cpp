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

void PixaCloser::operator()(Pixa* pixa) const {
    pixaDestroy(&pixa);
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

std::vector<bool> InkColumns(Pix* gray, int left, int top, int width, int height, int level) {
    std::vector<bool> ink(static_cast<size_t>(std::max(width, 0)));
    if (gray == nullptr || pixGetDepth(gray) != 8) {
        return ink;
    }
    const int bottom = std::min(top + height, pixGetHeight(gray));
    const int right = std::min(left + width, pixGetWidth(gray));
    for (int x = std::max(left, 0); x < right; ++x) {
        for (int y = std::max(top, 0); y < bottom; ++y) {
            l_uint32 value = 0;
            pixGetPixel(gray, x, y, &value);
            if (static_cast<int>(value) < level) {
                ink[static_cast<size_t>(x - left)] = true;
                break;
            }
        }
    }
    return ink;
}

namespace {

int Bend(Pix* mask) {
    const int width = pixGetWidth(mask);
    const int height = pixGetHeight(mask);
    long middle = 0, middleCount = 0, ends = 0, endsCount = 0;
    for (int y = 0; y < height; ++y) {
        const bool inMiddle = 3 * y >= height && 3 * y < 2 * height;
        for (int x = 0; x < width; ++x) {
            l_uint32 set = 0;
            pixGetPixel(mask, x, y, &set);
            if (set != 0) {
                (inMiddle ? middle : ends) += x;
                ++(inMiddle ? middleCount : endsCount);
            }
        }
    }
    if (middleCount == 0 || endsCount == 0 || width == 0) {
        return 0;
    }
    const double shift = static_cast<double>(middle) / middleCount - static_cast<double>(ends) / endsCount;
    return static_cast<int>(100 * shift / width);
}

} // namespace

std::vector<InkBlob> InkBlobs(Pix* gray, int left, int top, int width, int height, int level) {
    std::vector<InkBlob> blobs;
    const PixPtr part = gray != nullptr && pixGetDepth(gray) == 8 ? Crop(gray, left, top, width, height) : nullptr;
    const PixPtr ink(part ? pixThresholdToBinary(part.get(), level) : nullptr);
    if (!ink) {
        return blobs;
    }
    Pixa* components = nullptr;
    Boxa* boxes = pixConnComp(ink.get(), &components, 8);
    boxaDestroy(&boxes);
    const PixaPtr found(components);
    const int count = found ? pixaGetCount(found.get()) : 0;
    for (int k = 0; k < count; ++k) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        const PixPtr mask(pixaGetPix(found.get(), k, L_CLONE));
        if (mask && pixaGetBoxGeometry(found.get(), k, &x, &y, &w, &h) == 0) {
            blobs.push_back({std::max(left, 0) + x, std::max(top, 0) + y, w, h, Bend(mask.get())});
        }
    }
    std::sort(blobs.begin(), blobs.end(), [](const InkBlob& a, const InkBlob& b) { return a.left < b.left; });
    return blobs;
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
