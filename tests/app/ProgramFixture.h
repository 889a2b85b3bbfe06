#pragma once

#include "TempDirectory.h"
#include "app/Program.h"
#include "fakes/FakeAudioPlayer.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeFileDialogHost.h"
#include "fakes/FakeOverlayWindow.h"
#include "fakes/FakePorts.h"
#include "fakes/FakeScreenSettle.h"
#include "fakes/FakeScreenSource.h"
#include "files/Files.h"
#include "settings/Timestamp.h"
#include "text/Encoding.h"
#include "ui/Clipboard.h"
#include "util/FakeHttpTransport.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tovrik::app {

// The clipboard's last text and picture.
class NoteClipboard final : public ui::Clipboard {
public:
    std::optional<Text> text;
    std::optional<ui::Bitmap> image;

    bool SetText(TextView value) override {
        text = Text(value);
        return true;
    }
    bool SetImage(const ui::Bitmap& bitmap) override {
        image = bitmap;
        return true;
    }
};

// The whole program on the fake backend, started with the default hotkeys in a fresh folder.
class ProgramFixture : public testing::Test {
protected:
    void SetUp() override {
        WriteSettingsFile();
        m_program.Start();
    }
    // Before start-up; a token is cached unless told otherwise.
    virtual void WriteSettingsFile() {
        const Text settings = "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F9\r\n自助翻译热键=Ctrl+F10\r\n"
                              "截图并翻译热键=Ctrl+F11\r\n\r\n[OCR]\r\nAccessToken=tok\r\nGetTime=" +
                              settings::TimestampText(m_clock) + "\r\nExpiresTime=2592000\r\n";
        ASSERT_TRUE(files::WriteFile(files::JoinPath(m_dir.Path(), "ZuDur.ini"), settings));
    }

    [[nodiscard]] ui::FormId SettingsId() { return m_program.App().SettingsForm().Id(); }
    [[nodiscard]] ui::FormId MainId() { return m_program.MainForm().Id(); }
    [[nodiscard]] Text MainText(TextView control) { return m_program.MainForm().GetText(control); }
    [[nodiscard]] Text Status() { return MainText("透明标签_执行状态"); }
    [[nodiscard]] Text ScreenshotDir() { return m_program.App().ScreenshotDir(); }

    // The user drags a rectangle in the overlay and double-clicks inside it.
    void SelectOnCapture(int left, int top, int right, int bottom) {
        m_overlay.script = [=](fakes::FakeOverlayWindow& window) {
            window.Drag(left, top, right, bottom);
            window.DoubleClick(left + 1, top + 1);
        };
    }
    void EscapeOnCapture() {
        m_overlay.script = [](fakes::FakeOverlayWindow& window) { window.KeyUp(capture::CaptureOverlay::kKeyEscape); };
    }
    // The recognition service answers once with these lines (UTF-8 on the wire).
    void ScriptRecognition(TextView wordsJson) {
        m_web.Script({true, 200, {}, text::TextToUtf8(R"({"words_result":[)" + Text(wordsJson) + "]}")});
    }
    [[nodiscard]] int RecognitionRequests() const {
        int count = 0;
        for (const net::HttpRequest& request : m_web.Requests()) {
            count += request.path.find("/ocr/") != Text::npos ? 1 : 0;
        }
        return count;
    }

    TempDirectory m_dir;
    fakes::FakePorts m_fake;
    fakes::FakeScreenSource m_screen;
    fakes::FakeScreenSettle m_settle;
    fakes::FakeOverlayWindow m_overlay;
    fakes::FakeFileDialogHost m_dialogs;
    NoteClipboard m_clipboard;
    fakes::FakeClock m_clock;
    fakes::FakeAudioPlayer m_audio;
    testutil::FakeHttpTransport m_web;
    testutil::FakeHttpTransport m_com;
    Program m_program{{.app = m_fake.Ports(),
                       .screen = m_screen,
                       .settle = m_settle,
                       .overlayWindow = m_overlay,
                       .fileDialogs = m_dialogs,
                       .clipboard = m_clipboard,
                       .clock = m_clock,
                       .audio = m_audio,
                       .webTransport = &m_web,
                       .comTransport = &m_com},
                      m_dir.Path()};
};

} // namespace tovrik::app
