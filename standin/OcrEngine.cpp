#include "OcrEngine.h"

#include "OcrImage.h"
#include "OcrText.h"
#include "Utf8.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstdlib>
#include <future>

namespace tovrik::standin {

namespace {

constexpr const char* kLatinModel = "eng";
constexpr const char* kChineseModel = "chi_sim";

// Text lines lower than this (in pixels, ascender to descender) are read from a picture scaled
// up twice: the models misread 12 px screen text and read it well at 24 px.
constexpr int kSmallLineHeight = 16;
// Tesseract's limit is 32767; far smaller than that is already no screen capture.
constexpr int kMaxSide = 16384;
constexpr int kScreenDpi = 96;
// The probe reads at most this many line heights of the first line: about five characters.
constexpr int kProbeWidthInHeights = 6;
// Mean word confidences of the Latin model: above 90 on Latin text, below 45 on Chinese.
constexpr int kLatinConfidence = 70;
constexpr int kUnsureConfidence = 50;
constexpr int kPadding = 3;

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};
using TessText = std::unique_ptr<char, TextDeleter>;

std::unique_ptr<tesseract::TessBaseAPI> LoadModel(const std::string& dataPath, const char* languages) {
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    if (api->Init(dataPath.empty() ? nullptr : dataPath.c_str(), languages, tesseract::OEM_LSTM_ONLY) != 0) {
        return nullptr;
    }
    // Dark pictures are inverted before recognition; tesseract's own retry of every unsure line
    // inverted would double the time spent on text it cannot read anyway.
    api->SetVariable("tessedit_do_invert", "0");
    return api;
}

bool HasCjk(std::string_view utf8) {
    const std::vector<char32_t> codePoints = DecodeUtf8(utf8);
    return std::any_of(codePoints.begin(), codePoints.end(), IsCjk);
}

void SetPicture(tesseract::TessBaseAPI& api, Pix* page, int scale, tesseract::PageSegMode mode) {
    api.SetImage(page);
    api.SetSourceResolution(kScreenDpi * scale);
    api.SetPageSegMode(mode);
}

// A box of the unscaled picture, padded and scaled, cut out of the page and handed to the model
// as a picture of its own: tesseract's rectangles misplace lines in a block that does not start
// at the top of the picture. The offset of the part within the page goes to offsetOut.
PixPtr SetPart(tesseract::TessBaseAPI& api, Pix* page, int scale, const PixelBox& box, int padding,
               tesseract::PageSegMode mode, PixelBox& offsetOut) {
    const int x0 = std::max(0, (box.left - padding) * scale);
    const int y0 = std::max(0, (box.top - padding) * scale);
    const int x1 = std::min(PixWidth(page), (box.left + box.width + padding) * scale);
    const int y1 = std::min(PixHeight(page), (box.top + box.height + padding) * scale);
    PixPtr part = Crop(page, x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0));
    if (part) {
        SetPicture(api, part.get(), scale, mode);
    }
    offsetOut = {x0, y0, 0, 0};
    return part;
}

// The text of the picture set before, and the model's mean confidence in it.
std::pair<std::string, int> ReadPart(tesseract::TessBaseAPI& api, const PixPtr& part) {
    if (!part || api.Recognize(nullptr) != 0) {
        return {std::string(), 0};
    }
    const TessText text(api.GetUTF8Text());
    return {CleanLine(text ? text.get() : ""), api.MeanTextConf()};
}

} // namespace

std::array<PixelBox, 2> SplitIntoBands(const std::vector<PixelBox>& lines, int width, int height) {
    std::array<PixelBox, 2> bands{PixelBox{0, 0, width, height}, PixelBox{0, height, width, 0}};
    if (lines.size() < 2) {
        return bands;
    }
    long total = 0;
    for (const PixelBox& line : lines) {
        total += line.width;
    }
    size_t split = 1;
    long upper = lines[0].width;
    long bestDifference = std::labs(total - 2 * upper);
    for (size_t k = 2; k < lines.size(); ++k) {
        upper += lines[k - 1].width;
        if (std::labs(total - 2 * upper) < bestDifference) {
            bestDifference = std::labs(total - 2 * upper);
            split = k;
        }
    }
    // Halfway between the last line of the upper band and the first of the lower one; lines side
    // by side cannot be cut apart.
    const PixelBox& above = lines[split - 1];
    const PixelBox& below = lines[split];
    if (below.top <= above.top) {
        return bands;
    }
    const int cut = std::clamp((above.top + above.height + below.top) / 2, 1, height - 1);
    bands[0].height = cut;
    bands[1] = {0, cut, width, height - cut};
    return bands;
}

OcrEngine::OcrEngine(const std::string& languages, const std::string& dataPath) {
    // An upload that is no picture is answered with an error code; leptonica's own complaint on
    // stderr would only be noise.
    setMsgSeverity(L_SEVERITY_NONE);
    const bool automatic = languages == kAuto;
    m_ready = true;
    for (Models& models : m_models) {
        models.main = LoadModel(dataPath, automatic ? kLatinModel : languages.c_str());
        if (automatic) {
            models.chinese = LoadModel(dataPath, kChineseModel);
        }
        m_ready = m_ready && models.main && (!automatic || models.chinese);
    }
}

OcrEngine::~OcrEngine() = default;

OcrResult OcrEngine::Recognize(std::string_view imageBytes) {
    const PixPtr gray = DecodeGray(imageBytes);
    if (!gray) {
        return {OcrStatus::BadImage, {}};
    }
    if (PixWidth(gray.get()) > kMaxSide || PixHeight(gray.get()) > kMaxSide) {
        return {OcrStatus::TooLarge, {}};
    }
    const std::lock_guard lock(m_mutex);
    if (!m_ready) {
        return {};
    }
    const std::vector<PixelBox> boxes = FindLines(gray.get());
    if (boxes.empty()) {
        return {};
    }
    std::vector<int> heights;
    for (const PixelBox& box : boxes) {
        heights.push_back(box.height);
    }
    std::nth_element(heights.begin(), heights.begin() + static_cast<long>(heights.size() / 2), heights.end());
    const int scale = heights[heights.size() / 2] < kSmallLineHeight ? 2 : 1;
    const PixPtr page = ScaleGray(gray.get(), scale);
    if (!page) {
        return {};
    }
    const bool chinese = m_models[0].chinese && !ProbeIsLatin(gray.get(), boxes);

    const std::array<PixelBox, 2> bands = SplitIntoBands(boxes, PixWidth(gray.get()), PixHeight(gray.get()));
    std::future<std::vector<OcrLine>> lower;
    if (bands[1].height > 0) {
        lower =
            std::async(std::launch::async, [&] { return ReadBand(m_models[1], chinese, page.get(), scale, bands[1]); });
    }
    OcrResult result;
    result.lines = ReadBand(m_models[0], chinese, page.get(), scale, bands[0]);
    if (lower.valid()) {
        std::vector<OcrLine> more = lower.get();
        result.lines.insert(result.lines.end(), std::make_move_iterator(more.begin()),
                            std::make_move_iterator(more.end()));
    }
    for (Models& models : m_models) {
        models.main->Clear();
        if (models.chinese) {
            models.chinese->Clear();
        }
    }
    return result;
}

// Layout analysis only (no recognition) at the picture's own size: cheap, and what the
// upscaling, the probe and the bands are decided from.
std::vector<PixelBox> OcrEngine::FindLines(Pix* gray) {
    tesseract::TessBaseAPI& api = *m_models[0].main;
    SetPicture(api, gray, 1, tesseract::PSM_SINGLE_BLOCK);
    std::vector<PixelBox> boxes;
    const std::unique_ptr<tesseract::PageIterator> it(api.AnalyseLayout());
    if (!it || it->Empty(tesseract::RIL_TEXTLINE)) {
        return boxes;
    }
    do {
        int left = 0, top = 0, right = 0, bottom = 0;
        if (it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom)) {
            boxes.push_back({left, top, right - left, bottom - top});
        }
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return boxes;
}

bool OcrEngine::ProbeIsLatin(Pix* gray, const std::vector<PixelBox>& lines) {
    // The first line that looks like running text rather than a lone symbol or rule.
    const auto probe =
        std::find_if(lines.begin(), lines.end(), [](const PixelBox& box) { return box.width >= 3 * box.height; });
    PixelBox box = probe != lines.end() ? *probe : lines.front();
    box.width = std::min(box.width, kProbeWidthInHeights * box.height);
    PixelBox offset;
    const PixPtr part = SetPart(*m_models[0].main, gray, 1, box, kPadding, tesseract::PSM_SINGLE_LINE, offset);
    return ReadPart(*m_models[0].main, part).second >= kLatinConfidence;
}

std::vector<OcrLine> OcrEngine::ReadBand(Models& models, bool chinese, Pix* page, int scale, const PixelBox& band) {
    tesseract::TessBaseAPI& api = chinese ? *models.chinese : *models.main;
    PixelBox offset;
    const PixPtr part = SetPart(api, page, scale, band, 0, tesseract::PSM_SINGLE_BLOCK, offset);
    std::vector<OcrLine> lines;
    std::vector<size_t> unsure;
    if (!part || api.Recognize(nullptr) != 0) {
        return lines;
    }
    const std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it || it->Empty(tesseract::RIL_TEXTLINE)) {
        return lines;
    }
    do {
        const TessText text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
        std::string words = CleanLine(text ? text.get() : "");
        if (words.empty()) {
            continue;
        }
        int left = 0, top = 0, right = 0, bottom = 0;
        it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
        if (!chinese && models.chinese && it->Confidence(tesseract::RIL_TEXTLINE) < kUnsureConfidence) {
            unsure.push_back(lines.size());
        }
        lines.push_back({std::move(words), (offset.left + left) / scale, (offset.top + top) / scale,
                         (right - left) / scale, (bottom - top) / scale});
    } while (it->Next(tesseract::RIL_TEXTLINE));

    for (const size_t index : unsure) {
        OcrLine& line = lines[index];
        const PixPtr linePart = SetPart(*models.chinese, page, scale, {line.left, line.top, line.width, line.height},
                                        kPadding, tesseract::PSM_SINGLE_LINE, offset);
        std::string second = ReadPart(*models.chinese, linePart).first;
        if (HasCjk(second)) {
            line.words = std::move(second);
        }
    }
    return lines;
}

} // namespace tovrik::standin
