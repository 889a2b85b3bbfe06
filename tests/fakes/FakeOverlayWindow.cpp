#include "FakeOverlayWindow.h"

namespace tovrik::fakes {

bool FakeOverlayWindow::RunModal(const capture::Rect& area, const capture::OverlayCanvas& shownCanvas,
                                 capture::OverlayInput& input) {
    ++runCount;
    if (!canShow) {
        return false;
    }
    shownArea = area;
    canvas = &shownCanvas;
    closed = false;
    m_input = &input;
    if (script) {
        script(*this);
    }
    m_input = nullptr;
    return true;
}

int FakeOverlayWindow::ShowMenu(const std::vector<capture::MenuItem>& items) {
    menus.push_back(items);
    return menuChoice ? menuChoice(items) : 0;
}

void FakeOverlayWindow::DrawText(ui::Bitmap&, const capture::Rect& box, TextView text) {
    texts.push_back({box, Text(text)});
}

void FakeOverlayWindow::Press(int x, int y) {
    if (auto* input = Live()) {
        input->OnLeftButtonDown({x, y});
    }
}

void FakeOverlayWindow::Release(int x, int y) {
    if (auto* input = Live()) {
        input->OnLeftButtonUp({x, y});
    }
}

void FakeOverlayWindow::Move(int x, int y) {
    if (auto* input = Live()) {
        input->OnMouseMove({x, y});
    }
}

void FakeOverlayWindow::Drag(int fromX, int fromY, int toX, int toY) {
    Move(fromX, fromY);
    Press(fromX, fromY);
    constexpr int kSteps = 4;
    for (int step = 1; step <= kSteps; ++step) {
        Move(fromX + (toX - fromX) * step / kSteps, fromY + (toY - fromY) * step / kSteps);
    }
    Release(toX, toY);
}

void FakeOverlayWindow::DoubleClick(int x, int y) {
    Move(x, y);
    Press(x, y);
    Release(x, y);
    if (auto* input = Live()) {
        input->OnLeftDoubleClick({x, y});
    }
    Release(x, y);
}

void FakeOverlayWindow::RightClick(int x, int y) {
    if (auto* input = Live()) {
        input->OnRightButtonUp({x, y});
    }
}

void FakeOverlayWindow::KeyUp(int virtualKey) {
    if (auto* input = Live()) {
        input->OnKeyUp(virtualKey);
    }
}

void FakeOverlayWindow::AskToClose() {
    if (auto* input = Live()) {
        input->OnCloseRequest();
    }
}

} // namespace tovrik::fakes
