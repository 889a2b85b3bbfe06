#include "app/CaptureCommands.h"

#include "capture/CaptureOverlay.h"
#include "capture/ImageCodec.h"
#include "capture/ImageFile.h"
#include "capture/ScreenImage.h"
#include "files/Files.h"
#include "services/RecognitionService.h"
#include "settings/Timestamp.h"
#include "ui/Form.h"

#include <string>
#include <utility>

namespace tovrik::app {

namespace {

constexpr TextView kPictureBox = "图片框1";
constexpr TextView kStatusLabel = "透明标签_执行状态";
// A picture this small is no encoded image: the capture failed.
constexpr std::size_t kMinPictureBytes = 16;

} // namespace

CaptureCommands::CaptureCommands(Parts parts) : m_parts(std::move(parts)) {}

void CaptureCommands::HideForCapture() {
    const bool visible = !m_parts.settingsForm.GetChecked("选择框_截图隐藏");
    m_parts.settingsForm.SetVisible({}, visible);
    m_parts.mainForm.SetVisible({}, visible);
}

Bytes CaptureCommands::CaptureArea(bool copyToClipboard) {
    capture::ScreenImage image(m_parts.overlay, m_parts.clipboard);
    // Nothing selected leaves the image without pixels, whose BMP bytes are empty.
    static_cast<void>(image.SelectArea(copyToClipboard));
    return image.ToBmpBytes();
}

Text CaptureCommands::NewScreenshotPath() const {
    const Text stem = m_parts.screenshotDir + settings::FileTimestamp(m_parts.clock);
    Text path = stem + ".png";
    for (int suffix = 1; files::FileExists(path) || files::DirectoryExists(path); ++suffix) {
        path = stem + "_" + std::to_string(suffix) + ".png";
    }
    return path;
}

void CaptureCommands::CaptureToFile() {
    HideForCapture();
    Bytes picture = CaptureArea(false);
    Text path;
    bool saved = false;
    if (picture.size() > kMinPictureBytes) {
        // The folder may have been removed since start-up.
        static_cast<void>(files::CreateDirectories(m_parts.screenshotDir));
        path = NewScreenshotPath();
        saved = capture::EncodeImage(picture, static_cast<int>(capture::ImageFormat::Png), path, picture);
    }
    ShowMainWindow(false, picture, true);
    m_parts.mainForm.Show();
    // A failed encoder wrote no file: the status must not name one.
    ShowStatus(saved ? Text(kSavedPrefix) + path : Text(kCaptureFailed));
}

void CaptureCommands::CaptureAndCopy() {
    HideForCapture();
    const Bytes picture = CaptureArea(true);
    ShowMainWindow(false, picture, true);
    m_parts.mainForm.Show();
    ShowStatus(picture.size() > kMinPictureBytes ? kCopied : kCopyFailed);
}

void CaptureCommands::CaptureAndTranslate() {
    HideForCapture();
    m_currentPicture.clear();
    m_currentPicture = CaptureArea(true);
    if (m_currentPicture.empty()) {
        return;
    }
    m_parts.mainForm.Show();
    ShowMainWindow(true);
}

void CaptureCommands::ShowMainWindow(bool recognise, BytesView picture, bool setPicture) {
    m_recognisePending = recognise;
    if (!m_parts.mainForm.IsLoaded()) {
        // Its Created event runs RecognizeCurrent, which clears the pending recognition.
        static_cast<void>(m_parts.mainForm.Load());
    }
    if (m_recognisePending) {
        RecognizeCurrent();
    } else {
        m_parts.mainForm.Show();
    }
    if (setPicture) {
        m_parts.mainForm.SetPicture(kPictureBox, picture);
    }
}

void CaptureCommands::RecognizeCurrent() {
    ui::Form& form = m_parts.mainForm;
    form.SetPicture(kPictureBox, m_currentPicture);
    if (m_recognisePending) {
        const Text recognised = m_parts.service.RecognizeBasic(form.GetPicture(kPictureBox));
        form.SetText("编辑框_OCR", recognised);
        if (m_parts.settingsForm.GetChecked("选择框_自动翻译")) {
            form.SetText("编辑框_翻译结果", m_parts.service.TranslateYoudao(recognised));
            if (m_parts.settingsForm.GetChecked("选择框_自动朗读")) {
                m_parts.service.Speak(form.GetText("编辑框_翻译结果"));
            }
        }
        m_recognisePending = false;
    }
    BringToFront();
    form.Show();
}

void CaptureCommands::BringToFront() {
    m_parts.mainForm.Activate();
}

void CaptureCommands::ShowStatus(TextView text) {
    m_parts.mainForm.SetText(kStatusLabel, text);
}

} // namespace tovrik::app
