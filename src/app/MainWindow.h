#pragma once

#include "text/Types.h"
#include "ui/Form.h"

namespace tovrik::services {
class RecognitionService;
}
namespace tovrik::ui {
class Clipboard;
}

namespace tovrik::app {

class CaptureCommands;
class Shell;

inline constexpr TextView kNoPicture = "还没有图片内容!!";
inline constexpr TextView kNothingToTranslate = "未输入翻译内容!";
inline constexpr TextView kShortcutSuffix = " (或点击执行)";
// Pictures of this many bytes or more are not sent for recognition.
inline constexpr std::size_t kMaxRecognisedBytes = 0x501640;

// The file a status line names: on Windows the drive letter before the first ":\" followed by
// what comes after the last one; elsewhere the absolute path after the "saved" prefix. Empty
// when the line names none.
[[nodiscard]] Text RevealedPath(TextView status);

// The events of the result window and of its donation dialog. The window itself is loaded by
// the capture commands when first needed.
class MainWindow {
public:
    struct Parts {
        ui::Form& mainForm;
        ui::Form& settingsForm;
        CaptureCommands& commands;
        services::RecognitionService& service;
        ui::Clipboard& clipboard;
        Shell& shell;
        Text screenshotDir;
    };

    explicit MainWindow(Parts parts);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The self-translation hotkey: the window without recognition, then Translate.
    void SelfTranslate();
    void Translate();
    [[nodiscard]] ui::Form& DonationForm() { return m_donation; }

private:
    void WireEvents();
    void OnCreated();
    void RecogniseWithSizeTest();
    void OnDrop(const ui::Event& event);
    void RevealLastFile();
    void ShowDonation();

    Parts m_parts;
    ui::Form m_donation;
};

} // namespace tovrik::app
