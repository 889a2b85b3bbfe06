#pragma once

#include "services/JobStatusView.h"
#include "services/KeySource.h"
#include "settings/SettingsStore.h"
#include "text/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <vector>

namespace tovrik::services {

class RecognitionService;

// What the picture check of the program finds in a file's bytes, before anything is sent.
struct PictureVerdict {
    bool isPicture = true; // a format the program decodes
    bool tooLarge = false; // more pixels than it decodes
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t maxPixels = 0;
};
using PictureCheck = std::function<PictureVerdict(BytesView bytes)>;

// Picture files larger than this are not read: no screen or scan the service takes comes near.
inline constexpr std::size_t kMaxPictureFileBytes = 64u * 1024 * 1024;

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

    // Files the check refuses are reported and never sent; without a check every readable
    // file goes to the service.
    CommandLine(Text programDirectory, std::ostream& out, std::ostream& err, PictureCheck check = {});
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
    // The file's bytes when they can go to the service; nothing, after the failure message.
    [[nodiscard]] std::optional<Bytes> ReadPicture(TextView path);
    void ReportSettingsRepair(const settings::SettingsCheck& check);
    [[nodiscard]] bool Translate(RecognitionService& service, TextView text, Text& resultOut);
    [[nodiscard]] bool Speak(RecognitionService& service, TextView text);
    void Print(TextView text);
    void Fail(TextView message);

    settings::SettingsStore m_settings;
    std::ostream& m_out;
    std::ostream& m_err;
    SettingsKeys m_keys;
    SilentStatus m_status;
    PictureCheck m_check;
};

} // namespace tovrik::services
