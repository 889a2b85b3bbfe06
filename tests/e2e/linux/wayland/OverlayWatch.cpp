// Times an overlay in a wlroots session by the pixels of the outputs, for the benchmark:
//   tovrik-wayland-watch <timeout ms> <command> [arguments...]
// takes a picture of every output (screencopy), starts the command, and takes pictures until
// every output is darker than at first (the frozen screen is shown dimmed). Prints
// "painted <ms> ms" counted from the start of the command, and the time one picture of all
// outputs took, or "timeout"; exit code 0 only when painted.
#include "capture/linux/wayland/ScreencopyClient.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

using tovrik::capture::OutputLayout;
using tovrik::capture::Rect;
using tovrik::capture::ScreencopyClient;
using Clock = std::chrono::steady_clock;

// A dimmed output is below this share of its first brightness.
constexpr double kDimmedShare = 0.85;
constexpr int kSampleStep = 8;

Rect Bounds(const std::vector<Rect>& rects) {
    Rect bounds = rects.front();
    for (const Rect& rect : rects) {
        bounds = {std::min(bounds.left, rect.left), std::min(bounds.top, rect.top), std::max(bounds.right, rect.right),
                  std::max(bounds.bottom, rect.bottom)};
    }
    return bounds;
}

// The mean of the colour bytes of every output, sampled on a grid.
std::vector<double> Brightness(const tovrik::ui::Bitmap& picture, const Rect& area, const std::vector<Rect>& outputs) {
    std::vector<double> means;
    for (const Rect& output : outputs) {
        double sum = 0;
        long count = 0;
        for (int y = output.top; y < output.bottom; y += kSampleStep) {
            for (int x = output.left; x < output.right; x += kSampleStep) {
                const auto* pixel = &picture.pixels[(static_cast<std::size_t>(y - area.top) * picture.width +
                                                     static_cast<std::size_t>(x - area.left)) *
                                                    4];
                sum += pixel[0] + pixel[1] + pixel[2];
                ++count;
            }
        }
        means.push_back(count > 0 ? sum / static_cast<double>(count) : 0);
    }
    return means;
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <timeout ms> <command> [arguments...]\n", argv[0]);
        return 2;
    }
    const double timeoutMs = std::atof(argv[1]);
    ScreencopyClient screen;
    const OutputLayout layout = screen.Layout();
    if (!screen.Available() || layout.Empty()) {
        std::fprintf(stderr, "no screencopy in this session\n");
        return 2;
    }
    const std::vector<Rect>& outputs = layout.Physical();
    const Rect area = Bounds(outputs);
    tovrik::ui::Bitmap picture;
    const Clock::time_point firstGrab = Clock::now();
    if (!screen.Grab(layout, area, picture)) {
        std::fprintf(stderr, "the first picture failed\n");
        return 2;
    }
    const double grabMs = MillisecondsSince(firstGrab);
    const std::vector<double> before = Brightness(picture, area, outputs);

    pid_t child = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawnp(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[2]);
        return 2;
    }
    bool painted = false;
    double elapsed = 0;
    while (!painted && (elapsed = MillisecondsSince(start)) < timeoutMs) {
        if (!screen.Grab(layout, area, picture)) {
            continue;
        }
        const std::vector<double> now = Brightness(picture, area, outputs);
        painted = true;
        for (std::size_t i = 0; i < now.size(); ++i) {
            painted = painted && now[i] < before[i] * kDimmedShare;
        }
        elapsed = MillisecondsSince(start);
    }
    waitpid(child, nullptr, 0);
    if (!painted) {
        std::printf("timeout after %.0f ms\n", elapsed);
        return 1;
    }
    std::printf("painted %.1f ms (one picture of all outputs: %.1f ms)\n", elapsed, grabMs);
    return 0;
}
