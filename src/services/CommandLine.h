#pragma once

#include "services/JobStatusView.h"
#include "services/KeySource.h"
#include "settings/SettingsStore.h"
#include "text/Types.h"

#include <iosfwd>
#include <optional>
#include <vector>

namespace tovrik::services {

class RecognitionService;

// The program's scripting interface: recognise a picture, translate, speak, in the order given,
// each step feeding the next. Results go to the output stream as UTF-8 with "\n" line ends;
// failures to the error stream with exit code 1, unusable arguments with exit code 2. The keys
// come from the settings file, as the settings window would have loaded them.
class CommandLine {
public:
    enum class Action { Recognize, Translate, Speak };
    struct Step {
        Action action = Action::Recognize;
        // The file to recognise or the text to translate or speak; none means the result of
        // the step before.
        std::optional<Text> argument;
    };

    static constexpr int kFailure = 1;
    static constexpr int kUsageError = 2;

    CommandLine(Text programDirectory, std::ostream& out, std::ostream& err);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Arguments in program text, without the program name. Empty with errorOut set when they
    // cannot be run.
    [[nodiscard]] static std::optional<std::vector<Step>> Parse(const std::vector<Text>& arguments, Text& errorOut);
    [[nodiscard]] static const char* Usage();

    // The ports the service object of a command-line run is built with.
    [[nodiscard]] KeySource& Keys() { return m_keys; }
    [[nodiscard]] JobStatusView& Status() { return m_status; }

    [[nodiscard]] int Run(RecognitionService& service, const std::vector<Text>& arguments);

private:
    // Keys from the settings file; a refused key is written to the error stream.
    class SettingsKeys final : public KeySource {
    public:
        SettingsKeys(const settings::SettingsStore& settings, std::ostream& err) : m_settings(settings), m_err(err) {}
        [[nodiscard]] Text ApiKeyText() const override;
        [[nodiscard]] Text SecretKeyText() const override;
        void ShowKeyError(TextView message) override;
        [[nodiscard]] bool Refused() const { return m_refused; }

    private:
        const settings::SettingsStore& m_settings;
        std::ostream& m_err;
        bool m_refused = false;
    };
    // No window: statuses are not shown.
    class SilentStatus final : public JobStatusView {
    public:
        void SetLabelCaption(TextView, TextView) override {}
    };

    [[nodiscard]] bool Recognize(RecognitionService& service, TextView path, Text& resultOut);
    [[nodiscard]] bool Translate(RecognitionService& service, TextView text, Text& resultOut);
    [[nodiscard]] bool Speak(RecognitionService& service, TextView text);
    void Print(TextView text);
    void Fail(TextView message);

    settings::SettingsStore m_settings;
    std::ostream& m_out;
    std::ostream& m_err;
    SettingsKeys m_keys;
    SilentStatus m_status;
};

} // namespace tovrik::services
