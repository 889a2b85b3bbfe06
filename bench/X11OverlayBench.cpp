// Speed of the overlay whose pictures the X server keeps (X11OverlayCanvas), at a 3840 x 2160
// screen: run it under a server of that size, for instance
//   xvfb-run -s "-screen 0 3840x2160x24" build/linux/bench/X11OverlayBench
// Each figure waits until the server has done the drawing (XSync): it is our time plus the
// server's, what a user waits for. The information box's text is drawn as the program draws
// it (Qt, the program's font).
#include "capture/OverlayLayout.h"
#include "capture/OverlayPainter.h"
#include "capture/linux/OverlayText.h"
#include "capture/linux/X11OverlayCanvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>

namespace {

using namespace tovrik;
using namespace tovrik::capture;

constexpr int kScreenWidth = 3840;
constexpr int kScreenHeight = 2160;

// The text as the overlay windows draw it.
class ProgramText final : public TextPainter {
public:
    void DrawText(ui::Bitmap& target, const Rect& box, TextView text) override { DrawOverlayText(target, box, text); }
    [[nodiscard]] int InkWidth(TextView text) override { return OverlayTextInkWidth(text); }
};

Display* Connection() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

OverlayScene SceneFor(const Rect& selection) {
    OverlayScene scene;
    scene.showSelection = true;
    scene.selection = selection;
    scene.handles = SelectionHandles(selection);
    scene.info = SelectionInfoPanel(selection, kScreenWidth, kScreenHeight);
    return scene;
}

// The hotkey's share of the server: the root copied into a pixmap, the first frame (the whole
// screen dimmed) and the hint drawn.
void BM_X11FreezeAndFirstFrame(benchmark::State& state) {
    Display* display = Connection();
    if (display == nullptr) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    ProgramText text;
    OverlayScene hint;
    hint.info = DefaultInfoPanel(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        OverlayPainter painter;
        painter.Prepare(X11OverlayCanvas::Freeze(display, {0, 0, kScreenWidth, kScreenHeight}));
        if (painter.Canvas() == nullptr) {
            state.SkipWithError("the server cannot keep the overlay");
            return;
        }
        benchmark::DoNotOptimize(painter.Paint(hint, text));
        XSync(display, False);
        state.PauseTiming();
        painter.Release();
        XSync(display, False);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_X11FreezeAndFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// One mouse move while dragging a corner, or moving the selection, of the given size.
void BM_X11RedrawAfterMouseMove(benchmark::State& state) {
    Display* display = Connection();
    if (display == nullptr) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int step = static_cast<int>(state.range(2));
    ProgramText text;
    OverlayPainter painter;
    painter.Prepare(X11OverlayCanvas::Freeze(display, {0, 0, kScreenWidth, kScreenHeight}));
    if (painter.Canvas() == nullptr) {
        state.SkipWithError("the server cannot keep the overlay");
        return;
    }
    const Rect first{400, 300, 400 + width, 300 + height};
    const Rect second{400 + step, 300 + step, 400 + width + 1, 300 + height + 1};
    const OverlayScene scenes[2] = {SceneFor(first), SceneFor(second)};
    painter.Paint(scenes[0], text);
    XSync(display, False);
    int next = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(painter.Paint(scenes[next], text));
        XSync(display, False);
        next ^= 1;
    }
}
BENCHMARK(BM_X11RedrawAfterMouseMove)
    ->Args({800, 600, 0})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3000, 1800, 1})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The pixels of a 1920 x 1080 selection fetched from the server when the overlay closes.
void BM_X11SelectionPixels(benchmark::State& state) {
    Display* display = Connection();
    if (display == nullptr) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    const std::unique_ptr<X11OverlayCanvas> canvas =
        X11OverlayCanvas::Freeze(display, {0, 0, kScreenWidth, kScreenHeight});
    if (!canvas) {
        state.SkipWithError("the server cannot keep the overlay");
        return;
    }
    for (auto _ : state) {
        const ui::Bitmap pixels = canvas->CropScreen({100, 100, 2020, 1180});
        benchmark::DoNotOptimize(pixels.pixels.data());
    }
}
BENCHMARK(BM_X11SelectionPixels)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(12);
    QApplication::setFont(font);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
