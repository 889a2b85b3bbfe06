#include "app/MainWindow.h"

#include "app/CaptureCommands.h"
#include "app/DonationPicture.h"
#include "app/Shell.h"
#include "capture/ImageFile.h"
#include "capture/PictureSize.h"
#include "files/Files.h"
#include "services/RecognitionService.h"
#include "ui/Clipboard.h"
#include "ui/Forms.h"

#include <utility>

namespace tovrik::app {

namespace {

constexpr TextView kPictureBox = "图片框1";
constexpr TextView kStatusLabel = "透明标签_执行状态";
constexpr TextView kOcrBox = "编辑框_OCR";
constexpr TextView kTranslationBox = "编辑框_翻译结果";
constexpr TextView kDriveMark = ":\\";

struct ShortcutLabel {
    const char* label;
    const char* hotkeyBox; // on the settings window
};

constexpr ShortcutLabel kShortcutLabels[] = {
    {"标签_截图快捷键", "编辑框_截图"},
    {"标签_截图复制", "编辑框_截屏并复制"},
    {"标签_翻译", "编辑框_自助翻译_3"},
    {"标签_截图翻译", "编辑框_截图并翻译"},
};

} // namespace

Text RevealedPath(TextView status) {
    const std::size_t first = status.find(kDriveMark);
    if (first != TextView::npos) {
        if (first == 0) {
            return {};
        }
        const std::size_t last = status.rfind(kDriveMark);
        return Text(status.substr(first - 1, 1)) + Text(kDriveMark) + Text(status.substr(last + kDriveMark.size()));
    }
    const std::size_t prefix = status.find(kSavedPrefix);
    if (prefix == TextView::npos) {
        return {};
    }
    const TextView path = status.substr(prefix + kSavedPrefix.size());
    return !path.empty() && path.front() == '/' ? Text(path) : Text();
}

MainWindow::MainWindow(Parts parts)
    : m_parts(std::move(parts)), m_donation(m_parts.mainForm.Windows(), ui::DonationWindowForm()) {
    WireEvents();
}

void MainWindow::WireEvents() {
    ui::Form& form = m_parts.mainForm;
    CaptureCommands& commands = m_parts.commands;
    const auto on = [&form](TextView control, ui::EventKind kind, auto action) {
        form.On(control, kind, [action](const ui::Event&) { action(); });
    };
    form.On({}, ui::EventKind::Created, [this](const ui::Event&) { OnCreated(); });
    on("按钮_识别文字", ui::EventKind::Click, [this, &form] {
        m_parts.commands.SetCurrentPicture(form.GetPicture(kPictureBox));
        RecogniseWithSizeTest();
    });
    form.On("拖放对象1", ui::EventKind::DropFiles, [this](const ui::Event& event) { OnDrop(event); });
    on("按钮_翻译", ui::EventKind::Click, [this] { Translate(); });
    on("标签_翻译", ui::EventKind::Click, [this] { Translate(); });
    on("按钮_朗读", ui::EventKind::Click, [this, &form] { m_parts.service.Speak(form.GetText(kTranslationBox)); });
    on("按钮_复制识别", ui::EventKind::Click,
       [this, &form] { static_cast<void>(m_parts.clipboard.SetText(form.GetText(kOcrBox))); });
    on("按钮_复制翻译", ui::EventKind::Click,
       [this, &form] { static_cast<void>(m_parts.clipboard.SetText(form.GetText(kTranslationBox))); });
    on("按钮_打开截图目录", ui::EventKind::Click, [this] { m_parts.shell.OpenFolder(m_parts.screenshotDir); });
    on(kStatusLabel, ui::EventKind::DoubleClick, [this] { RevealLastFile(); });
    on(kPictureBox, ui::EventKind::DoubleClick, [this] { RevealLastFile(); });
    on("标签_截图快捷键", ui::EventKind::Click, [&commands] { commands.CaptureToFile(); });
    on("标签_截图复制", ui::EventKind::Click, [&commands] { commands.CaptureAndCopy(); });
    on("标签_截图翻译", ui::EventKind::Click, [&commands] { commands.CaptureAndTranslate(); });
    on("按钮_赞赏", ui::EventKind::Click, [this] { ShowDonation(); });
    on("透明标签1", ui::EventKind::Click, [this] { ShowDonation(); });
    m_donation.On({}, ui::EventKind::Created,
                  [this](const ui::Event&) { m_donation.SetPicture(kPictureBox, DonationPicture()); });
}

void MainWindow::OnCreated() {
    ui::Form& form = m_parts.mainForm;
    // Built once per load from the hotkeys of that moment.
    for (const ShortcutLabel& shortcut : kShortcutLabels) {
        form.SetText(shortcut.label, form.GetText(shortcut.label) + m_parts.settingsForm.GetText(shortcut.hotkeyBox) +
                                         Text(kShortcutSuffix));
    }
    m_parts.commands.RecognizeCurrent();
}

void MainWindow::RecogniseWithSizeTest() {
    const std::size_t size = m_parts.commands.CurrentPicture().size();
    if (size > 1 && size < kMaxRecognisedBytes) {
        m_parts.commands.ShowMainWindow(true);
    } else {
        m_parts.commands.ShowStatus(kNoPicture);
    }
}

void MainWindow::OnDrop(const ui::Event& event) {
    if (event.files.empty() || capture::ImageFileType(event.files.front()).empty()) {
        return;
    }
    // A file too large to recognise is not read whole: it fails the size test as empty.
    Bytes picture = files::ReadFile(event.files.front(), kMaxRecognisedBytes).value_or(Bytes());
    // Nor is a picture decoded whose header asks for more memory than any screen needs.
    if (const std::optional<capture::PictureSize> size = capture::PictureSizeOf(picture);
        size && size->Pixels() > capture::kMaxPicturePixels) {
        m_parts.commands.ShowStatus("图片太大: " + std::to_string(size->width) + " x " + std::to_string(size->height) +
                                    " 像素, 最多 " + std::to_string(capture::kMaxPicturePixels) + " 像素");
        return;
    }
    m_parts.mainForm.SetPicture(kPictureBox, picture);
    m_parts.commands.SetCurrentPicture(std::move(picture));
    RecogniseWithSizeTest();
}

void MainWindow::Translate() {
    ui::Form& form = m_parts.mainForm;
    const Text text = form.GetText(kOcrBox);
    if (text.empty()) {
        m_parts.commands.ShowStatus(kNothingToTranslate);
        form.SetText(kTranslationBox, form.GetText(kStatusLabel));
        return;
    }
    form.SetText(kTranslationBox, m_parts.service.TranslateYoudao(text));
}

void MainWindow::SelfTranslate() {
    m_parts.commands.ShowMainWindow(false);
    Translate();
    m_parts.commands.ShowStatus("完成自定义翻译");
}

void MainWindow::RevealLastFile() {
    const Text path = RevealedPath(m_parts.mainForm.GetText(kStatusLabel));
    if (!path.empty()) {
        m_parts.shell.RevealFile(path);
    }
}

void MainWindow::ShowDonation() {
    m_donation.RunModal();
}

} // namespace tovrik::app
