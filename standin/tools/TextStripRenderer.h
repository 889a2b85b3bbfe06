#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tovrik::standin {

// What to draw: black lines of UTF-8 text on a white strip, one line below the other.
struct StripSpec {
    std::vector<std::string> lines;
    int width = 800;
    int height = 200;
    int pixelSize = 28;
    int margin = 16;
};

enum class StripFormat { Png, Jpeg };

// Renders text strips with FreeType, so that tests, benchmarks and the sample picture are made on
// the spot instead of being committed as binaries. Each code point is drawn with the first font
// that has a glyph for it (a Latin font first, a CJK font as fallback).
class TextStripRenderer {
public:
    explicit TextStripRenderer(const std::vector<std::string>& fontPaths = DefaultFonts());
    ~TextStripRenderer();
    TextStripRenderer(const TextStripRenderer&) = delete;
    TextStripRenderer& operator=(const TextStripRenderer&) = delete;

    [[nodiscard]] static std::vector<std::string> DefaultFonts();

    // False when no font could be opened.
    [[nodiscard]] bool IsReady() const;

    // The encoded picture, or empty bytes when rendering or encoding failed.
    [[nodiscard]] std::string Render(const StripSpec& layout, StripFormat format) const;

private:
    struct Fonts;
    std::unique_ptr<Fonts> m_fonts;
};

} // namespace tovrik::standin
