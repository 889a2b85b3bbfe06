#include "TextStripRenderer.h"

#include "OcrImage.h"
#include "Utf8.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdint>

namespace tovrik::standin {

namespace {

constexpr int kJpegQuality = 75;

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryCloser>;
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

} // namespace

struct TextStripRenderer::Fonts {
    LibraryPtr library;
    std::vector<FacePtr> faces;
};

TextStripRenderer::TextStripRenderer(const std::vector<std::string>& fontPaths) : m_fonts(std::make_unique<Fonts>()) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return;
    }
    m_fonts->library.reset(library);
    for (const std::string& path : fontPaths) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, path.c_str(), 0, &face) == 0) {
            m_fonts->faces.emplace_back(face);
        }
    }
}

TextStripRenderer::~TextStripRenderer() = default;

std::vector<std::string> TextStripRenderer::DefaultFonts() {
    return {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"};
}

bool TextStripRenderer::IsReady() const {
    return !m_fonts->faces.empty();
}

std::string TextStripRenderer::Render(const StripSpec& layout, StripFormat format) const {
    if (!IsReady() || layout.width <= 0 || layout.height <= 0 || layout.pixelSize <= 0) {
        return {};
    }
    PixPtr pix(pixCreate(layout.width, layout.height, 8));
    if (!pix) {
        return {};
    }
    pixSetAllArbitrary(pix.get(), 255);
    for (const FacePtr& face : m_fonts->faces) {
        FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(layout.pixelSize));
    }
    const int lineHeight = layout.pixelSize * 3 / 2;
    int baseline = layout.margin + layout.pixelSize;
    for (const std::string& line : layout.lines) {
        int penX = layout.margin;
        for (char32_t codePoint : DecodeUtf8(line)) {
            auto face = std::find_if(m_fonts->faces.begin(), m_fonts->faces.end(),
                                     [&](const FacePtr& f) { return FT_Get_Char_Index(f.get(), codePoint) != 0; });
            if (face == m_fonts->faces.end() || FT_Load_Char(face->get(), codePoint, FT_LOAD_RENDER) != 0) {
                continue;
            }
            const FT_GlyphSlot glyph = (*face)->glyph;
            for (unsigned row = 0; row < glyph->bitmap.rows; ++row) {
                for (unsigned col = 0; col < glyph->bitmap.width; ++col) {
                    const int x = penX + glyph->bitmap_left + static_cast<int>(col);
                    const int y = baseline - glyph->bitmap_top + static_cast<int>(row);
                    if (x < 0 || y < 0 || x >= layout.width || y >= layout.height) {
                        continue;
                    }
                    const unsigned coverage =
                        glyph->bitmap.buffer[row * static_cast<unsigned>(glyph->bitmap.pitch) + col];
                    l_uint32 old = 255;
                    pixGetPixel(pix.get(), x, y, &old);
                    pixSetPixel(pix.get(), x, y, std::min<l_uint32>(old, 255 - coverage));
                }
            }
            penX += static_cast<int>(glyph->advance.x >> 6);
        }
        baseline += lineHeight;
    }
    l_uint8* data = nullptr;
    size_t size = 0;
    const l_ok failed = format == StripFormat::Png ? pixWriteMemPng(&data, &size, pix.get(), 0.0F)
                                                   : pixWriteMemJpeg(&data, &size, pix.get(), kJpegQuality, 0);
    std::string encoded;
    if (failed == 0 && data != nullptr) {
        encoded.assign(reinterpret_cast<const char*>(data), size);
    }
    lept_free(data);
    return encoded;
}

} // namespace tovrik::standin
