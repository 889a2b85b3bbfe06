#pragma once

#include "OcrCleanup.h"
#include "OcrImage.h"
#include "OcrPieces.h"

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

struct OcrResult {
    OcrStatus status = OcrStatus::Ok;
    std::vector<OcrLine> lines;
};

// Tesseract loaded once and kept for every request: loading the models costs more than
// recognising a strip.
//
// With the languages "auto" a Latin and a Chinese model are kept, and one of them reads each
// line (running both together, "chi_sim+eng", takes twice the time): the one the shapes of the
// line's blobs suggest (see LooksChinese). Text in the other script is read again by the other
// model: pieces the Latin model is unsure of, pieces read as Chinese without a Chinese character
// (Latin words, numbers, which the Chinese model misreads: "0" as "6"), and the Latin words and
// numbers within Chinese text, cut out by the places of their characters. Any other languages
// are handed to tesseract as they are.
//
// The layout analysis runs once; its lines are cut at word gaps into pieces that two threads,
// with a set of models each, read as single lines at the same time, each taking the widest piece
// left when it is free (OpenMP inside tesseract is held to one thread: it only spins). A model
// is not reentrant, so requests take turns.
class OcrEngine {
public:
    static constexpr std::string_view kAuto = "auto";

    OcrEngine(const std::string& languages, const std::string& dataPath);
    ~OcrEngine();
    OcrEngine(const OcrEngine&) = delete;
    OcrEngine& operator=(const OcrEngine&) = delete;

    [[nodiscard]] bool IsReady() const { return m_ready; }

    [[nodiscard]] OcrResult Recognize(std::string_view imageBytes);

    // The picture the pieces are read from: as sent, and scaled up twice for the lines marked
    // `enlarged` (made only when there are such lines).
    struct Pages {
        Pix* original = nullptr;
        PixPtr large;
        std::vector<bool> enlarged;
    };

private:
    struct Models {
        std::unique_ptr<tesseract::TessBaseAPI> main;    // Latin, or the languages as given
        std::unique_ptr<tesseract::TessBaseAPI> chinese; // only with "auto"
    };
    static constexpr size_t kThreads = 2;

    [[nodiscard]] std::vector<TextLine> FindLines(Pix* gray);
    [[nodiscard]] std::vector<TextLine> FindLinesBesideBands(Pix* gray, const std::vector<RowBand>& bands);
    // Reads each piece with the Chinese model or the Latin one (`chinese`, indexed as the pieces)
    // into the readings, each set of models taking the widest piece left when free.
    [[nodiscard]] std::vector<PieceReading> ReadPieces(const std::vector<LinePiece>& pieces,
                                                       const std::vector<bool>& chinese, const Pages& pages);
    // Reads each piece with the model its line's script suggests (`chinese`, indexed as the
    // lines), and again with the other model what looks like text in the other script; a reading
    // of the other model may take in the pieces after its own on the line (`readFrom` tells what
    // each reading was read from).
    [[nodiscard]] std::vector<PieceReading>
    ReadPiecesInBothScripts(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces,
                            const std::vector<bool>& chinese, const Pages& pages, std::vector<LinePiece>& readFrom);
    [[nodiscard]] static PieceReading ReadWith(Models& models, bool chinese, const Pages& pages,
                                               const LinePiece& piece);

    // Reads again, with the Latin model, the Latin words and numbers within what the Chinese
    // model read (see LatinRuns).
    void ReadLatinRuns(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces, const Pages& pages,
                       std::vector<PieceReading>& readings);

    // Reads again, cluster by cluster, the Chinese readings that take far less room than the ink
    // of the pieces they were read from (see OcrSpacedMarks).
    void ReadSpacedMarks(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces, const Pages& pages,
                         std::vector<PieceReading>& readings);

    std::mutex m_mutex;
    std::array<Models, kThreads> m_models;
    bool m_ready = false;
};

} // namespace tovrik::standin
