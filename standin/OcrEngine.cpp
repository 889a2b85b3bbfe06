#include "OcrEngine.h"

#include "LatinLookalikes.h"
#include "OcrCleanup.h"
#include "OcrImage.h"
#include "OcrLatinRuns.h"
#include "OcrMarkShapes.h"
#include "OcrSpacedMarks.h"
#include "OcrText.h"
#include "TaskQueue.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <algorithm>

namespace tovrik::standin {

namespace {

constexpr const char* kLatinModel = "eng";
constexpr const char* kChineseModel = "chi_sim";

// Text lines lower than this (in pixels, ascender to descender) are read from the picture scaled
// up twice: the models misread 12 px screen text and read it well at 24 px, and the Chinese one
// misreads strokes and quotes of lines up to 19 px (a 10 px title bar's "提取" as "授取").
constexpr int kSmallLineHeight = 16;
constexpr int kSmallChineseHeight = 20;
// Ink of the clusters a reading is made again from (see OcrSpacedMarks): the anti-aliased edges of
// small marks count.
constexpr int kClusterInkBelow = 160;
// Tesseract's limit is 32767; far smaller than that is already no screen capture.
constexpr int kMaxSide = 16384;
constexpr int kScreenDpi = 96;
constexpr const char* kLocalThreshold = "2";
// Frames are at least this wide and high: a check box (13 px) is no frame; a button or a field
// holding a line of text is.
constexpr int kFrameMinWidth = 30;
constexpr int kFrameMinHeight = 14;
// A band on a background of its own: a row whose median level is this far from the picture's,
// and a title bar's height from 100% to 200% (a list's row or header is as high).
constexpr int kBandOffPage = 48;
constexpr int kBandMinHeight = 10;
constexpr int kBandMaxHeight = 60;
// Dialog icons are 32 px and more (48 at 100%); a Chinese character of 200% text is 28 px. A
// filled disc covers 79% of its box, a question mark's disc with its mark 60%.
constexpr int kIconMinSide = 32;
constexpr int kIconMinFillPercent = 45;
// A band this close to the top of the picture is a window's title bar (below its outer border).
constexpr int kTitleBarTop = 4;
// Letters of a word are closer than this (a space of a proportional font is 0.3 of the line's
// height, a terminal's cell half of it).
constexpr int kLetterGapTenths = 4;

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
    // Sauvola's local threshold: one threshold for the whole picture loses the gray text of a
    // dark list's header, or a light theme's faint labels, beside black text.
    api->SetVariable("thresholding_method", kLocalThreshold);
    return api;
}

bool Bounds(const tesseract::PageIterator& it, tesseract::PageIteratorLevel level, PixelBox& boxOut) {
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!it.BoundingBox(level, &left, &top, &right, &bottom)) {
        return false;
    }
    boxOut = {left, top, right - left, bottom - top};
    return true;
}

std::string ReadingText(std::string_view raw, bool chinese) {
    const std::string line = WithZeros(CleanLine(raw));
    return chinese ? WithLowercaseL(line) : line;
}

// The characters of the last recognition, in the columns of the picture as sent (the crop starts
// at column `left` and was scaled by `scale`); none when the model gives any of them without its
// text or its box.
std::vector<ReadSymbol> Symbols(tesseract::TessBaseAPI& api, int left, int scale) {
    std::vector<ReadSymbol> symbols;
    const std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it || it->Empty(tesseract::RIL_SYMBOL)) {
        return symbols;
    }
    do {
        const TessText symbol(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        PixelBox box;
        if (!symbol || !Bounds(*it, tesseract::RIL_SYMBOL, box)) {
            return {};
        }
        symbols.push_back({symbol.get(), 0, left + box.left / scale, left + (box.left + box.width + scale - 1) / scale,
                           it->IsAtBeginningOf(tesseract::RIL_WORD),
                           static_cast<int>(it->Confidence(tesseract::RIL_SYMBOL))});
    } while (it->Next(tesseract::RIL_SYMBOL));
    return symbols;
}

// The runs of a line's pieces that look like text in the other script: read by the Latin model
// and unsure (of a word in them, or of all), or read by the Chinese one without a Chinese
// character. Chinese lines are read again by the Latin model across columns, Latin ones by the
// Chinese model column by column.
std::vector<PieceRun> OtherScriptRuns(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces,
                                      const std::vector<bool>& chinese, const std::vector<PieceReading>& readings,
                                      size_t line) {
    std::vector<bool> doubtful(pieces.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        const PieceReading& reading = readings[k];
        doubtful[k] = pieces[k].line == line && (chinese[line] ? !reading.text.empty() && !HasIdeograph(reading.text)
                                                               : std::min(LatinConfidence(lines, pieces[k], reading),
                                                                          reading.weakest) < kSureLatin);
    }
    return SelectedRuns(pieces, doubtful, chinese);
}

// The piece's columns from `left` to `right` with `pad` columns of white on both sides, within the
// piece.
LinePiece Within(const LinePiece& piece, int left, int right, int pad) {
    LinePiece part = piece;
    part.crop.left = std::max(piece.crop.left, left - pad);
    part.crop.width = std::min(piece.crop.left + piece.crop.width, right + pad) - part.crop.left;
    return part;
}

// A piece cut out of the (scaled) page and read as one line as it is (tesseract's own line
// finding in it would only cost time, and would trim the white that makes the model read
// fewer columns).
PieceReading ReadCrop(tesseract::TessBaseAPI& api, bool chinese, const OcrEngine::Pages& pages,
                      const LinePiece& piece) {
    const bool enlarged = pages.large && piece.line < pages.enlarged.size() && pages.enlarged[piece.line];
    Pix* page = enlarged ? pages.large.get() : pages.original;
    const int scale = enlarged ? 2 : 1;
    const PixelBox& crop = piece.crop;
    const PixPtr part = Crop(page, crop.left * scale, crop.top * scale, crop.width * scale, crop.height * scale);
    // Rows the picture ends before are made up with white too.
    const int cutOff = std::max(0, (crop.top + crop.height) * scale - PixHeight(page));
    const PixPtr padded = part ? WithWhite(part.get(), piece.whiteAbove * scale, piece.whiteBelow * scale + cutOff,
                                           chinese ? piece.whiteAfterForChinese * scale : 0)
                               : nullptr;
    if (!padded) {
        return {};
    }
    api.SetImage(padded.get());
    api.SetSourceResolution(kScreenDpi * scale);
    api.SetPageSegMode(tesseract::PSM_RAW_LINE);
    if (api.Recognize(nullptr) != 0) {
        return {};
    }
    const TessText text(api.GetUTF8Text());
    PieceReading reading{ReadingText(text ? text.get() : "", chinese), 0, 0, text ? text.get() : "",
                         Symbols(api, crop.left, scale)};
    if (!PlaceSymbols(reading.raw, reading.symbols)) {
        reading.symbols.clear();
    }
    const std::unique_ptr<int[]> confidences(api.AllWordConfidences());
    int count = 0;
    for (const int* word = confidences.get(); word != nullptr && *word >= 0; ++word) {
        reading.confidence += *word;
        reading.weakest = count == 0 ? *word : std::min(reading.weakest, *word);
        ++count;
    }
    reading.confidence = count > 0 ? reading.confidence / count : 0;
    return reading;
}

} // namespace

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
    // Title bars, list headers and selected rows: their text is set dark on white like the rest.
    const std::vector<RowBand> bands = NormaliseBands(gray.get(), kBandOffPage, kBandMinHeight, kBandMaxHeight);
    RemoveIcons(gray.get(), kIconMinSide, kIconMinFillPercent);
    // Buttons, fields and group boxes: their text is read as lines of its own.
    RemoveFrames(gray.get(), kFrameMinWidth, kFrameMinHeight);
    std::vector<TextLine> lines = FindLinesBesideBands(gray.get(), bands);
    DropMarks(lines);
    if (lines.empty()) {
        return {};
    }
    // The shapes of a line's blobs suggest its script and the model that reads it first.
    const bool automatic = m_models[0].chinese != nullptr;
    std::vector<bool> chineseLines;
    Pages pages{gray.get(), nullptr, {}};
    for (const TextLine& line : lines) {
        chineseLines.push_back(automatic && LooksChinese(line));
        pages.enlarged.push_back(line.box.height < (chineseLines.back() ? kSmallChineseHeight : kSmallLineHeight));
    }
    if (std::find(pages.enlarged.begin(), pages.enlarged.end(), true) != pages.enlarged.end()) {
        pages.large = ScaleGray(gray.get(), 2);
        if (!pages.large) {
            return {};
        }
    }
    const std::vector<LinePiece> pieces = CutIntoPieces(lines, kThreads, chineseLines);
    std::vector<LinePiece> readFrom = pieces;
    std::vector<PieceReading> readings = ReadPiecesInBothScripts(lines, pieces, chineseLines, pages, readFrom);
    if (automatic) {
        ReadLatinRuns(lines, pieces, pages, readings);
        ReadSpacedMarks(lines, readFrom, pages, readings);
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
        if (IsNoText(lines, pieces[k], readings[k])) {
            readings[k].text.clear();
        }
    }

    OcrResult result;
    for (size_t line = 0; line < lines.size(); ++line) {
        std::string words = JoinPieces(pieces, readings, line);
        if (!words.empty()) {
            const PixelBox& box = lines[line].box;
            result.lines.push_back({std::move(words), box.left, box.top, box.width, box.height});
        }
    }
    for (Models& models : m_models) {
        models.main->Clear();
        if (models.chinese) {
            models.chinese->Clear();
        }
    }
    return result;
}

// The lines of the bands are found in each band alone: a title bar's small text among the
// window's would change how the layout analysis spaces the words of the rest.
std::vector<TextLine> OcrEngine::FindLinesBesideBands(Pix* gray, const std::vector<RowBand>& bands) {
    if (bands.empty()) {
        return FindLines(gray);
    }
    const int width = PixWidth(gray);
    const PixPtr rest(pixCopy(nullptr, gray));
    for (const RowBand& band : bands) {
        pixRasterop(rest.get(), 0, band.top, width, band.bottom - band.top, PIX_SET, nullptr, 0, 0);
    }
    std::vector<TextLine> lines = FindLines(rest.get());
    for (const RowBand& band : bands) {
        const PixPtr part = Crop(gray, 0, band.top, width, band.bottom - band.top);
        for (TextLine& line : part ? FindLines(part.get()) : std::vector<TextLine>{}) {
            if (band.top <= kTitleBarTop) {
                KeepTitle(line, width);
            }
            line.box.top += band.top;
            for (TextWord& word : line.words) {
                word.box.top += band.top;
                word.lastBlob.top += band.top;
            }
            const auto after = std::find_if(lines.begin(), lines.end(),
                                            [&](const TextLine& other) { return other.box.top > line.box.top; });
            lines.insert(after, std::move(line));
        }
    }
    return lines;
}

// Layout analysis only (no recognition) at the picture's own size: cheap, and what the
// upscaling, the guess of the script and the pieces are decided from.
std::vector<TextLine> OcrEngine::FindLines(Pix* gray) {
    tesseract::TessBaseAPI& api = *m_models[0].main;
    api.SetImage(gray);
    api.SetSourceResolution(kScreenDpi);
    api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
    std::vector<TextLine> lines;
    const std::unique_ptr<tesseract::PageIterator> it(api.AnalyseLayout());
    if (!it || it->Empty(tesseract::RIL_SYMBOL)) {
        return lines;
    }
    do {
        PixelBox box;
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) && Bounds(*it, tesseract::RIL_TEXTLINE, box)) {
            lines.push_back({box, {}, {}});
        }
        if (lines.empty()) {
            continue;
        }
        std::vector<TextWord>& words = lines.back().words;
        if (it->IsAtBeginningOf(tesseract::RIL_WORD) && Bounds(*it, tesseract::RIL_WORD, box)) {
            words.push_back({box, {}, box.left});
        }
        if (!words.empty() && Bounds(*it, tesseract::RIL_SYMBOL, box)) {
            words.back().lastBlob = box;
            lines.back().blobHeights.push_back(box.height);
        }
    } while (it->Next(tesseract::RIL_SYMBOL));
    DropFrames(lines);
    // The blobs of a word are not all listed (the inside of a character may be left out), so
    // where the ink before the last one ends is looked up in the picture tesseract binarised.
    const PixPtr binary(api.GetThresholdedImage());
    for (TextLine& line : lines) {
        for (TextWord& word : line.words) {
            word.inkBeforeLastBlob =
                InkEnd(binary.get(), word.box.left, word.lastBlob.left, line.box.top, line.box.top + line.box.height);
        }
        // The layout may leave out the last letter or mark of a line of small text ("of" read as
        // "o", "find." as "find"): the line goes on to the end of the ink that follows its last
        // word closer than a space.
        if (!line.words.empty()) {
            const int height = line.box.height;
            const int right = line.box.left + line.box.width;
            const int end = InkRunEnd(binary.get(), right, std::max(2, height * kLetterGapTenths / 10), right + height,
                                      line.box.top, line.box.top + height);
            TextWord& last = line.words.back();
            last.box.width = std::max(last.box.width, end - last.box.left);
            line.box.width = end - line.box.left;
        }
    }
    return lines;
}

// Text in the other script: pieces the Latin model is unsure of (of a word in them, or of all)
// are read by the Chinese one and taken from it when it finds Chinese characters and is surer of
// them; pieces read as Chinese without a Chinese character (Latin words, numbers) are read by the
// Latin model and taken from it when it is sure of them. A line's pieces are read again as soon
// as all of them are read, while the other lines' are still being read.
std::vector<PieceReading> OcrEngine::ReadPiecesInBothScripts(const std::vector<TextLine>& lines,
                                                             const std::vector<LinePiece>& pieces,
                                                             const std::vector<bool>& chinese, const Pages& pages,
                                                             std::vector<LinePiece>& readFrom) {
    const size_t count = pieces.size();
    std::vector<PieceReading> readings(count);
    std::vector<size_t> unread(lines.size());
    for (const LinePiece& piece : pieces) {
        ++unread[piece.line];
    }
    // Each run holds a piece of its own at least: as many runs as pieces at most, so that adding
    // one never moves those being read.
    std::vector<PieceRun> runs;
    runs.reserve(count);
    std::vector<PieceReading> second(count);
    const bool automatic = m_models[0].chinese != nullptr;
    auto work = [&](size_t task, size_t worker) {
        if (task < count) {
            readings[task] = ReadWith(m_models[worker], chinese[pieces[task].line], pages, pieces[task]);
        } else {
            const PieceRun& run = runs[task - count];
            second[task - count] = ReadWith(m_models[worker], !chinese[run.piece.line], pages, run.piece);
        }
    };
    auto done = [&](size_t task) {
        std::vector<size_t> ready;
        if (task >= count || !automatic || --unread[pieces[task].line] > 0) {
            return ready;
        }
        for (PieceRun& run : OtherScriptRuns(lines, pieces, chinese, readings, pieces[task].line)) {
            ready.push_back(count + runs.size());
            runs.push_back(std::move(run));
        }
        return ready;
    };
    RunTasks(WidestFirst(pieces), count > 1 ? kThreads : 1, work, done);
    for (size_t k = 0; k < runs.size(); ++k) {
        const PieceRun& run = runs[k];
        int latin = kSureLatin;
        for (size_t piece = run.first; piece < run.first + run.count; ++piece) {
            latin = std::min(latin, LatinConfidence(lines, pieces[piece], readings[piece]));
        }
        const bool better = !chinese[run.piece.line] ? HasIdeograph(second[k].text) && second[k].confidence > latin
                                                     : LatinConfidence(lines, run.piece, second[k]) >= kSureLatin;
        if (better) {
            readings[run.first] = std::move(second[k]);
            readFrom[run.first] = run.piece;
            for (size_t other = 1; other < run.count; ++other) {
                readings[run.first + other] = {};
            }
        }
    }
    return readings;
}

// The Latin words and numbers within the Chinese model's readings, each read again by the Latin
// model and taken from it when it is sure of it (see LatinRuns).
void OcrEngine::ReadLatinRuns(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces,
                              const Pages& pages, std::vector<PieceReading>& readings) {
    std::vector<std::vector<SymbolRun>> runs(pieces.size());
    std::vector<LinePiece> again;
    for (size_t k = 0; k < pieces.size(); ++k) {
        // Only the Chinese model reads Chinese characters.
        if (!HasIdeograph(readings[k].text)) {
            continue;
        }
        const std::vector<ReadSymbol>& symbols = readings[k].symbols;
        runs[k] = LatinRuns(symbols);
        for (const SymbolRun& run : runs[k]) {
            const ColumnSpan span = RunSpan(symbols, run, lines[pieces[k].line].box.height);
            LinePiece piece = pieces[k];
            piece.crop.left = span.left;
            piece.crop.width = span.right - span.left;
            again.push_back(piece);
        }
    }
    if (again.empty()) {
        return;
    }
    const std::vector<PieceReading> latin = ReadPieces(again, std::vector<bool>(again.size(), false), pages);
    size_t next = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        std::vector<std::string> texts;
        for (const SymbolRun& run : runs[k]) {
            texts.push_back(LatinReplacement(RunText(readings[k].symbols, run), latin[next++]));
        }
        if (std::any_of(texts.begin(), texts.end(), [](const std::string& text) { return !text.empty(); })) {
            readings[k].text = ReadingText(WithReplacedRuns(readings[k], runs[k], texts), true);
        }
    }
}

void OcrEngine::ReadSpacedMarks(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces,
                                const Pages& pages, std::vector<PieceReading>& readings) {
    struct Redone {
        size_t piece = 0;
        int pitch = 0;
        size_t first = 0; // of its clusters
        size_t count = 0;
        std::vector<ClusterGroup> groups{};
        std::vector<std::string> texts{};
    };
    std::vector<Redone> redone;
    std::vector<LinePiece> clusters;
    for (size_t k = 0; k < pieces.size(); ++k) {
        const PixelBox& crop = pieces[k].crop;
        const int pitch = IdeographPitch(readings[k].symbols);
        if (!HasIdeograph(readings[k].text) || !ReadsTooShort(readings[k].text, crop.width, pitch)) {
            continue;
        }
        const std::vector<bool> ink =
            InkColumns(pages.original, crop.left, crop.top, crop.width, crop.height, kClusterInkBelow);
        const std::vector<ColumnSpan> spans = InkClusters(ink, crop.left, std::max(2, pitch * 2 / 5));
        if (spans.size() < 2) {
            continue;
        }
        redone.push_back({k, pitch, clusters.size(), spans.size()});
        for (const ColumnSpan& span : spans) {
            clusters.push_back(Within(pieces[k], span.left, span.right, pitch / 5));
        }
    }
    if (clusters.empty()) {
        return;
    }
    const std::vector<PieceReading> chinese = ReadPieces(clusters, std::vector<bool>(clusters.size(), true), pages);
    // The marks' shapes tell them best; the Latin model reads the groups that hold anything else.
    std::vector<LinePiece> latinGroups;
    for (Redone& line : redone) {
        const auto first = chinese.begin() + static_cast<long>(line.first);
        line.groups = GroupClusters({first, first + static_cast<long>(line.count)});
        const PixelBox& crop = pieces[line.piece].crop;
        const PixelBox& box = lines[pieces[line.piece].line].box;
        for (const ClusterGroup& group : line.groups) {
            const LinePiece& left = clusters[line.first + group.first];
            const LinePiece& right = clusters[line.first + group.first + group.count - 1];
            const int from = left.crop.left;
            const int to = right.crop.left + right.crop.width;
            line.texts.push_back(group.chinese ? chinese[line.first + group.first].text
                                               : MarksText(InkBlobs(pages.original, from, crop.top, to - from,
                                                                    crop.height, kClusterInkBelow),
                                                           box.top, box.height, line.pitch));
            if (!group.chinese && line.texts.back().empty()) {
                latinGroups.push_back(Within(pieces[line.piece], from, to, 0));
            }
        }
    }
    const std::vector<PieceReading> latin =
        ReadPieces(latinGroups, std::vector<bool>(latinGroups.size(), false), pages);
    size_t next = 0;
    for (Redone& line : redone) {
        for (size_t g = 0; g < line.groups.size(); ++g) {
            const ClusterGroup& group = line.groups[g];
            if (group.chinese || !line.texts[g].empty()) {
                continue;
            }
            std::vector<std::string> read;
            for (size_t c = line.first + group.first; c < line.first + group.first + group.count; ++c) {
                read.push_back(chinese[c].text);
            }
            line.texts[g] = LatinGroupText(latin[next++], JoinClusters(read));
        }
        std::string text = ReadingText(JoinClusters(line.texts), true);
        PieceReading& reading = readings[line.piece];
        if (ExplainsBetter(text, reading.text, pieces[line.piece].crop.width, line.pitch)) {
            reading.text = std::move(text);
        }
    }
}

std::vector<PieceReading> OcrEngine::ReadPieces(const std::vector<LinePiece>& pieces, const std::vector<bool>& chinese,
                                                const Pages& pages) {
    std::vector<PieceReading> readings(pieces.size());
    RunTasks(WidestFirst(pieces), pieces.size() > 1 ? kThreads : 1,
             [&](size_t piece, size_t worker) {
                 readings[piece] = ReadWith(m_models[worker], chinese[piece], pages, pieces[piece]);
             },
             {});
    return readings;
}

PieceReading OcrEngine::ReadWith(Models& models, bool chinese, const Pages& pages, const LinePiece& piece) {
    return ReadCrop(chinese ? *models.chinese : *models.main, chinese, pages, piece);
}

} // namespace tovrik::standin
