#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct Pix;

namespace tesseract {
class TessBaseAPI;
}

namespace tovrik::standin {

// One recognised text line and where it stands in the uploaded picture (pixels as sent).
struct OcrLine {
    std::string words;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class OcrStatus { Ok, BadImage, TooLarge };

// A rectangle in pixels of the picture as sent.
struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the picture is cut into two bands (full width) with about as much text in each, given
// its text lines top to bottom; the second band is empty (height 0) for a single line or lines
// that stand side by side.
[[nodiscard]] std::array<PixelBox, 2> SplitIntoBands(const std::vector<PixelBox>& lines, int width, int height);

struct OcrResult {
    OcrStatus status = OcrStatus::Ok;
    std::vector<OcrLine> lines;
};

// Tesseract loaded once and kept for every request: loading the models costs more than
// recognising a strip.
//
// With the languages "auto" a Latin and a Chinese model are kept. A short probe of the Latin
// model on the first text line decides which one reads the picture: the Latin model is sure of
// Latin text and lost on Chinese, and running one model instead of both together
// ("chi_sim+eng") halves the time. Lines the Latin model is unsure of go to the Chinese model
// afterwards, so a Chinese line on an English page is still read. Any other languages text is
// handed to tesseract as it is.
//
// The lines found by the layout analysis are cut into two bands of about the same amount of
// text, read at the same time by two threads with a set of models each (OpenMP inside
// tesseract is held to one thread: it only spins). A model is not reentrant, so requests take
// turns.
class OcrEngine {
public:
    static constexpr std::string_view kAuto = "auto";

    OcrEngine(const std::string& languages, const std::string& dataPath);
    ~OcrEngine();
    OcrEngine(const OcrEngine&) = delete;
    OcrEngine& operator=(const OcrEngine&) = delete;

    [[nodiscard]] bool IsReady() const { return m_ready; }

    [[nodiscard]] OcrResult Recognize(std::string_view imageBytes);

private:
    struct Models {
        std::unique_ptr<tesseract::TessBaseAPI> main;    // Latin, or the languages as given
        std::unique_ptr<tesseract::TessBaseAPI> chinese; // only with "auto"
    };
    static constexpr size_t kThreads = 2;

    [[nodiscard]] std::vector<PixelBox> FindLines(Pix* gray);
    // Runs on the picture that FindLines left in the first Latin model, at its own size.
    [[nodiscard]] bool ProbeIsLatin(Pix* gray, const std::vector<PixelBox>& lines);
    // The lines within the band, in reading order.
    [[nodiscard]] static std::vector<OcrLine> ReadBand(Models& models, bool chinese, Pix* page, int scale,
                                                       const PixelBox& band);

    std::mutex m_mutex;
    std::array<Models, kThreads> m_models;
    bool m_ready = false;
};

} // namespace tovrik::standin
