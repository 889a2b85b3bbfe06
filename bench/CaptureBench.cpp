// Speed of the capture path at a 3840 x 2160 virtual screen with the overlay's pictures in our
// memory (as on Windows; X11OverlayBench times them kept by the X server): preparing the overlay
// (the dimmed first frame), one redraw after a mouse move, and turning a 1920 x 1080 selection into BMP
// bytes and then JPEG bytes for upload.
#include "capture/BmpCodec.h"
#include "capture/ImageFile.h"
#include "capture/OverlayLayout.h"
#include "capture/OverlayPainter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

using namespace tovrik;
using namespace tovrik::capture;

constexpr int kScreenWidth = 3840;
constexpr int kScreenHeight = 2160;

// Something like a desktop: flat areas, gradients and fine detail.
ui::Bitmap Desktop(int width, int height) {
    ui::Bitmap image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.Stride() * static_cast<std::size_t>(height));
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            std::uint32_t pixel = 0xFFF0F0F0u;
            if ((y / 40) % 3 == 0) {
                pixel = 0xFF000000u | (static_cast<std::uint32_t>(x * 255 / width) << 16) | ((y & 0xFF) << 8) | 0x60;
            } else if ((x / 7 + y / 11) % 5 == 0) {
                pixel = 0xFF000000u | ((noise >> 8) & 0x3F3F3Fu);
            }
            std::memcpy(image.pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4, &pixel, 4);
        }
    }
    return image;
}

const ui::Bitmap& Screen() {
    static const ui::Bitmap screen = Desktop(kScreenWidth, kScreenHeight);
    return screen;
}

class NoText final : public TextPainter {
public:
    void DrawText(ui::Bitmap&, const Rect&, TextView) override {}
};

OverlayScene SceneFor(const Rect& selection) {
    OverlayScene scene;
    scene.showSelection = true;
    scene.selection = selection;
    scene.handles = SelectionHandles(selection);
    scene.info = SelectionInfoPanel(selection, kScreenWidth, kScreenHeight);
    return scene;
}

// From the frozen picture to the first frame: the dimmed screen and the hint.
// The canvases' memory is fresh from the system for every overlay, as in the program, which
// frees it when the capture is done.
void BM_OverlayPreparation(benchmark::State& state) {
    NoText text;
    OverlayScene hint;
    hint.info = DefaultInfoPanel(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        state.PauseTiming();
        auto painter = std::make_unique<OverlayPainter>();
        ui::Bitmap frozen = Screen();
        state.ResumeTiming();
        painter->Prepare(std::move(frozen));
        benchmark::DoNotOptimize(painter->Paint(hint, text));
        state.PauseTiming();
        painter.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverlayPreparation)->Unit(benchmark::kMillisecond);

// One mouse move while dragging a corner, or moving the selection, of the given size.
void BM_RedrawAfterMouseMove(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int step = static_cast<int>(state.range(2));
    NoText text;
    OverlayPainter painter;
    painter.Prepare(ui::Bitmap(Screen()));
    const Rect first{400, 300, 400 + width, 300 + height};
    const Rect second{400 + step, 300 + step, 400 + width + 1, 300 + height + 1};
    const OverlayScene scenes[2] = {SceneFor(first), SceneFor(second)};
    painter.Paint(scenes[0], text);
    int next = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(painter.Paint(scenes[next], text));
        next ^= 1;
    }
}
BENCHMARK(BM_RedrawAfterMouseMove)
    ->Args({800, 600, 0})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3000, 1800, 1})
    ->Unit(benchmark::kMicrosecond);

// The capture-and-recognise path: the selection's BMP bytes, re-encoded as JPEG.
void BM_BmpAndJpegOf1080Selection(benchmark::State& state) {
    const ui::Bitmap selection = Desktop(1920, 1080);
    std::size_t jpegSize = 0;
    for (auto _ : state) {
        const Bytes bmp = ToBmpBytes(selection);
        const Bytes jpeg = ToJpegBytes(bmp);
        jpegSize = jpeg.size();
        benchmark::DoNotOptimize(jpeg.data());
    }
    state.counters["jpeg_bytes"] = static_cast<double>(jpegSize);
}
BENCHMARK(BM_BmpAndJpegOf1080Selection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
