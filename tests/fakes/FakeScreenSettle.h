#pragma once

#include "capture/ScreenSettle.h"

#include <functional>
#include <vector>

namespace tovrik::fakes {

// Records each wait; `onAwait` lets a test play the display server catching up.
class FakeScreenSettle final : public capture::ScreenSettle {
public:
    std::function<void()> onAwait;
    std::vector<int> limits; // of every call, in order

    void AwaitOwnWindows(int limitMs) override {
        limits.push_back(limitMs);
        if (onAwait) {
            onAwait();
        }
    }
};

} // namespace tovrik::fakes
