#include "OcrImage.h"

#include <leptonica/allheaders.h>

namespace tovrik::standin {

namespace {

constexpr float kDarkMean = 128.0F;
constexpr int kMeanSampling = 4;

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

int PixWidth(Pix* pix) {
    return pixGetWidth(pix);
}
int PixHeight(Pix* pix) {
    return pixGetHeight(pix);
}

} // namespace tovrik::standin
