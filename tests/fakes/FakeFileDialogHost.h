#pragma once

#include "capture/FileDialogHost.h"

#include <vector>

namespace tovrik::fakes {

// A save dialog that answers with a scripted name (nothing = cancelled) and keeps each request.
class FakeFileDialogHost final : public capture::FileDialogHost {
public:
    std::optional<Text> answer;
    std::vector<capture::FileDialogRequest> requests;

    std::optional<Text> RunSaveDialog(const capture::FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }
};

} // namespace tovrik::fakes
