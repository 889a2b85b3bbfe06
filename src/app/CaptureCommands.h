#pragma once

#include "text/Types.h"

namespace tovrik::capture {
class CaptureOverlay;
}
namespace tovrik::services {
class RecognitionService;
}
namespace tovrik::settings {
class Clock;
}
namespace tovrik::ui {
class Clipboard;
class Form;
} // namespace tovrik::ui

namespace tovrik::app {

// Status texts of the capture commands.
inline constexpr TextView kSavedPrefix = "[双击查看截图] ";
inline constexpr TextView kCaptureFailed = "截图失败!";
inline constexpr TextView kCopyFailed = "截图失败了!";
inline constexpr TextView kCopied = "完成截图并复制到剪贴板";

// What the hotkeys, the tray menu and the main window's buttons start once a capture or a
// recognition is asked for, and the process-wide current picture they share.
class CaptureCommands {
public:
    struct Parts {
        ui::Form& settingsForm;
        ui::Form& mainForm;
        capture::CaptureOverlay& overlay;
        ui::Clipboard& clipboard;
        services::RecognitionService& service;
        const settings::Clock& clock;
        Text screenshotDir; // ends with the separator
    };

    explicit CaptureCommands(Parts parts);
    CaptureCommands(const CaptureCommands&) = delete;
    CaptureCommands& operator=(const CaptureCommands&) = delete;

    void CaptureToFile();
    void CaptureAndCopy();
    void CaptureAndTranslate();

    // Hides the settings and main windows when "截图时隐藏窗口" is checked, else shows both.
    void HideForCapture();
    // The selected area as BMP bytes; empty when nothing was selected.
    [[nodiscard]] Bytes CaptureArea(bool copyToClipboard);
    // Loads the main window on first need; with recognise, the current picture is recognised.
    void ShowMainWindow(bool recognise, BytesView picture = {}, bool setPicture = false);
    // Runs from the main window's Created event too, so a first load recognises exactly once.
    void RecognizeCurrent();
    void BringToFront();
    void ShowStatus(TextView text);

    [[nodiscard]] const Bytes& CurrentPicture() const { return m_currentPicture; }
    void SetCurrentPicture(Bytes picture) { m_currentPicture = std::move(picture); }
    [[nodiscard]] bool RecognisePending() const { return m_recognisePending; }

    // ScreenshotDir + FileTimestamp + ".png", or with "_1", "_2", ... before the extension when
    // that file exists already: two captures in one second must not share a file.
    [[nodiscard]] Text NewScreenshotPath() const;

private:
    Parts m_parts;
    Bytes m_currentPicture;
    bool m_recognisePending = false;
};

} // namespace tovrik::app
