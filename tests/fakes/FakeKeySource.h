#pragma once

#include "services/KeySource.h"

#include <vector>

namespace tovrik::fakes {

// The settings window's two key boxes and its hint label.
class FakeKeySource final : public services::KeySource {
public:
    Text apiKey;
    Text secretKey;

    [[nodiscard]] Text ApiKeyText() const override {
        ++m_reads;
        return apiKey;
    }
    [[nodiscard]] Text SecretKeyText() const override {
        ++m_reads;
        return secretKey;
    }
    void ShowKeyError(TextView message) override { m_errors.emplace_back(message); }

    // How often a box was read.
    [[nodiscard]] int Reads() const { return m_reads; }
    [[nodiscard]] const std::vector<Text>& Errors() const { return m_errors; }

private:
    mutable int m_reads = 0;
    std::vector<Text> m_errors;
};

} // namespace tovrik::fakes
