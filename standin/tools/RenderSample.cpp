// tovrik-render-sample: writes a picture of text lines (an English and a Chinese one unless
// lines are given), for trying the recognition without a screen.

#include "TextStripRenderer.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

using namespace tovrik::standin;

namespace {

constexpr const char* kUsage =
    "usage: tovrik-render-sample [--pixel-size N] [--size WIDTHxHEIGHT] OUTPUT.png|OUTPUT.jpg [LINE...]\n"
    "Without lines it draws an English and a Chinese line; without --size the picture fits the text.\n";

bool ParseInt(std::string_view text, int minimum, int maximum, int& valueOut) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum) {
        return false;
    }
    valueOut = value;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    StripSpec layout;
    layout.width = 0;
    layout.height = 0;
    while (arguments.size() >= 2 && arguments[0].starts_with("--")) {
        const std::string& value = arguments[1];
        const size_t x = value.find('x');
        bool valid = false;
        if (arguments[0] == "--pixel-size") {
            valid = ParseInt(value, 6, 200, layout.pixelSize);
        } else if (arguments[0] == "--size" && x != std::string::npos) {
            valid = ParseInt(std::string_view(value).substr(0, x), 16, 10000, layout.width) &&
                    ParseInt(std::string_view(value).substr(x + 1), 16, 10000, layout.height);
        }
        if (!valid) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.empty() || arguments[0].starts_with("-")) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string output = arguments[0];
    layout.lines.assign(arguments.begin() + 1, arguments.end());
    if (layout.lines.empty()) {
        layout.lines = {"Hello world from the local stand-in.", "今天天气很好，我们一起去公园散步。"};
    }
    layout.margin = layout.pixelSize / 2 + 8;
    if (layout.width == 0) {
        layout.width = 40 * layout.pixelSize;
        layout.height = 2 * layout.margin + static_cast<int>(layout.lines.size()) * layout.pixelSize * 3 / 2;
    }

    const TextStripRenderer renderer;
    if (!renderer.IsReady()) {
        std::fputs("tovrik-render-sample: no font found (fonts-dejavu-core, fonts-wqy-microhei)\n", stderr);
        return 1;
    }
    const bool jpeg = output.ends_with(".jpg") || output.ends_with(".jpeg");
    const std::string picture = renderer.Render(layout, jpeg ? StripFormat::Jpeg : StripFormat::Png);
    std::ofstream file(output, std::ios::binary);
    if (picture.empty() || !file.write(picture.data(), static_cast<std::streamsize>(picture.size()))) {
        std::fprintf(stderr, "tovrik-render-sample: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
