#pragma once

#include "text/Types.h"

namespace tovrik::services {

// Where the OCR keys are typed in (the settings window's two key boxes), and where a refused
// key is reported.
class KeySource {
public:
    virtual ~KeySource() = default;
    [[nodiscard]] virtual Text ApiKeyText() const = 0;
    [[nodiscard]] virtual Text SecretKeyText() const = 0;
    // Shows the settings window in front and puts the message into its hint label.
    virtual void ShowKeyError(TextView message) = 0;
};

} // namespace tovrik::services
