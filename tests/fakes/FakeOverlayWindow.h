#pragma once

#include "capture/OverlayInput.h"
#include "capture/OverlayWindow.h"

#include <functional>
#include <vector>

namespace tovrik::fakes {

// The overlay's window without a screen: RunModal plays a scripted user, and everything the
// overlay asks of the window is recorded. Events sent after Close are dropped, as a real modal
// loop would have ended.
class FakeOverlayWindow final : public capture::OverlayWindow {
public:
    struct TextDraw {
        capture::Rect box;
        Text text;
    };

    // What the user does while the overlay is shown.
    std::function<void(FakeOverlayWindow&)> script;
    // The answer to a popup menu; by default nothing is chosen.
    std::function<int(const std::vector<capture::MenuItem>&)> menuChoice;
    bool canShow = true;

    // Recorded.
    int runCount = 0;
    capture::Rect shownArea;
    const capture::OverlayCanvas* canvas = nullptr;
    bool closed = false;
    std::vector<capture::Rect> presented;
    std::vector<capture::Cursor> cursors;
    std::vector<std::vector<capture::MenuItem>> menus;
    std::vector<TextDraw> texts;
    int captureReleases = 0;

    bool RunModal(const capture::Rect& area, const capture::OverlayCanvas& shownCanvas,
                  capture::OverlayInput& input) override;
    void Close() override { closed = true; }
    void Present(const capture::Rect& area) override { presented.push_back(area); }
    void SetCursor(capture::Cursor cursor) override { cursors.push_back(cursor); }
    void ReleaseMouseCapture() override { ++captureReleases; }
    int ShowMenu(const std::vector<capture::MenuItem>& items) override;
    std::uintptr_t NativeHandle() const override { return 0x1234; }
    void DrawText(ui::Bitmap& target, const capture::Rect& box, TextView text) override;

    // The scripted user, in window coordinates.
    void Press(int x, int y);
    void Release(int x, int y);
    void Move(int x, int y);
    // The pointer arrives at the start, then press, move in steps to the end point, release.
    void Drag(int fromX, int fromY, int toX, int toY);
    // The pointer arrives, then the event sequence of a double-click: press, release,
    // double-click, release.
    void DoubleClick(int x, int y);
    void RightClick(int x, int y);
    void KeyUp(int virtualKey);
    void AskToClose();

private:
    capture::OverlayInput* m_input = nullptr;
    [[nodiscard]] capture::OverlayInput* Live() const { return closed ? nullptr : m_input; }
};

} // namespace tovrik::fakes
