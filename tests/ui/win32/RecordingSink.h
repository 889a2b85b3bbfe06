#pragma once

#include "ui/Event.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace tovrik::ui::win32 {

// Records the events of one native form and answers its close queries.
class RecordingSink final : public EventSink {
public:
    std::vector<Event> events;
    bool allowClose = true;
    int closeQueries = 0;
    std::function<void(const Event&)> onEvent;

    void OnEvent(const Event& event) override {
        events.push_back(event);
        if (onEvent) {
            onEvent(event);
        }
    }
    bool OnCloseQuery() override {
        ++closeQueries;
        return allowClose;
    }

    [[nodiscard]] int Count(EventKind kind, TextView control = {}) const {
        return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const Event& event) {
            return event.kind == kind && (control.empty() || event.control == control);
        }));
    }
};

} // namespace tovrik::ui::win32
