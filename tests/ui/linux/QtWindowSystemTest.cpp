#include "ui/linux/QtWindowSystem.h"
#include "OffscreenQt.h"
#include "ui/Forms.h"
#include "ui/linux/QtKeyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tovrik::ui {
namespace {

using tovrik::testing::T;

// Records what the backend raises; answers close requests as told.
class RecordingSink final : public EventSink {
public:
    void OnEvent(const Event& event) override {
        events.push_back(event);
        if (onEvent) {
            onEvent(event);
        }
    }
    bool OnCloseQuery() override {
        ++closeQueries;
        return allowClose;
    }

    [[nodiscard]] std::vector<Event> Of(EventKind kind) const {
        std::vector<Event> found;
        for (const Event& event : events) {
            if (event.kind == kind) {
                found.push_back(event);
            }
        }
        return found;
    }

    std::vector<Event> events;
    std::function<void(const Event&)> onEvent;
    int closeQueries = 0;
    bool allowClose = false;
};

class QtWindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override { tovrik::testing::OffscreenApplication(); }
    void TearDown() override {
        m_windows.DestroyForm(m_settings);
        m_windows.DestroyForm(m_main);
        tovrik::testing::ProcessEvents();
    }

    FormId Settings() { return m_settings = m_windows.CreateForm(SettingsWindowForm(), m_sink); }
    FormId Main() { return m_main = m_windows.CreateForm(MainWindowForm(), m_sink); }
    template <typename T> T* Child(FormId form, const char* type) {
        for (T* child : m_windows.Widget(form)->findChildren<T*>()) {
            if (QString::fromLatin1(child->metaObject()->className()) == QLatin1String(type)) {
                return child;
            }
        }
        return nullptr;
    }
    // A key of the given X symbol going down or up in the widget, as Qt reports it.
    static void Key(QWidget* widget, unsigned long keysym, bool down) {
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier, 0,
                        static_cast<quint32>(keysym), 0);
        QApplication::sendEvent(widget, &event);
    }

    QtKeyboard m_keyboard;
    QtWindowSystem m_windows{m_keyboard};
    RecordingSink m_sink;
    FormId m_settings = 0;
    FormId m_main = 0;
};

TEST_F(QtWindowSystemTest, ProgramTextRoundTripsThroughEveryKindOfControl) {
    const FormId form = Settings();
    EXPECT_EQ(m_windows.GetText(form, {}), T("托维OCR设置"));
    EXPECT_EQ(m_windows.GetText(form, T("按钮_申请key")), T("申请key"));
    EXPECT_EQ(m_windows.GetText(form, T("选择框_自动翻译")), T("自动翻译"));
    EXPECT_EQ(m_windows.GetText(form, T("截图翻译")), T("截图翻译"));
    m_windows.SetText(form, T("透明标签_热键提示"), T("热键设置完毕!"));
    m_windows.SetText(form, T("截图翻译"), T("截图翻译(Ctrl+F11)"));
    m_windows.SetText(form, T("编辑框_截图"), "Ctrl+F8");
    m_windows.SetText(form, {}, T("托维OCR设置程序已在运行!"));
    EXPECT_EQ(m_windows.GetText(form, T("透明标签_热键提示")), T("热键设置完毕!"));
    EXPECT_EQ(m_windows.GetText(form, T("截图翻译")), T("截图翻译(Ctrl+F11)"));
    EXPECT_EQ(m_windows.GetText(form, T("编辑框_截图")), "Ctrl+F8");
    EXPECT_EQ(m_windows.GetText(form, {}), T("托维OCR设置程序已在运行!"));
    EXPECT_EQ(m_windows.GetText(form, T("没有这个控件")), "");
}

TEST_F(QtWindowSystemTest, MultiLineBoxesKeepWindowsLineBreaks) {
    const FormId form = Main();
    m_windows.SetText(form, T("编辑框_OCR"), T("第一行\r\nsecond line\r\n"));
    EXPECT_EQ(m_windows.GetText(form, T("编辑框_OCR")), T("第一行\r\nsecond line\r\n"));
    m_windows.SetText(form, T("编辑框_OCR"), "a\nb");
    EXPECT_EQ(m_windows.GetText(form, T("编辑框_OCR")), "a\r\nb");
}

TEST_F(QtWindowSystemTest, DeclaredRectanglesAreOuterFramesAndControlsSitWhereDeclared) {
    const FormId form = Main();
    // Where the frame lands is the window manager's business; its size is ours.
    EXPECT_EQ(m_windows.GetRect(form, {}).width, 808);
    EXPECT_EQ(m_windows.GetRect(form, {}).height, 355);
    // Every control of the result window fits its client area.
    const QWidget* widget = m_windows.Widget(form);
    EXPECT_GE(widget->width(), 802);
    EXPECT_GE(widget->height(), 321);
    EXPECT_EQ(m_windows.GetRect(form, T("按钮_赞赏")), (Rect{690, 295, 112, 26}));
    m_windows.SetRect(form, {}, {60, 70, 808, 310});
    EXPECT_EQ(m_windows.GetRect(form, {}).height, 310);
    m_windows.SetRect(form, T("按钮_赞赏"), {1, 2, 30, 40});
    EXPECT_EQ(m_windows.GetRect(form, T("按钮_赞赏")), (Rect{1, 2, 30, 40}));
}

TEST_F(QtWindowSystemTest, StartupHeightHidesTheStatusStripOfTheSettingsWindow) {
    const FormId form = Settings();
    const Rect frame = m_windows.GetRect(form, {});
    m_windows.SetRect(form, {}, {frame.left, frame.top, frame.width, 310});
    const Rect strip = m_windows.GetRect(form, T("状态栏"));
    // At most a sliver of its border shows below the buttons.
    EXPECT_LE(m_windows.Widget(form)->height() - strip.top, 2);
    EXPECT_GE(m_windows.Widget(form)->height(), m_windows.GetRect(form, T("按钮_申请key")).top + 26);
}

TEST_F(QtWindowSystemTest, StatesOfChecksEnablingAndVisibility) {
    const FormId form = Settings();
    m_windows.SetChecked(form, T("选择框_开机启动"), true);
    EXPECT_TRUE(m_windows.GetChecked(form, T("选择框_开机启动")));
    m_windows.SetEnabled(form, T("按钮_申请key"), false);
    EXPECT_FALSE(m_windows.GetEnabled(form, T("按钮_申请key")));
    m_windows.SetEnabled(form, T("退出程序"), false);
    EXPECT_FALSE(m_windows.GetEnabled(form, T("退出程序")));
    EXPECT_FALSE(m_windows.GetVisible(form, {}));
    m_windows.SetVisible(form, {}, true);
    EXPECT_TRUE(m_windows.GetVisible(form, {}));
    m_windows.SetVisible(form, T("恢复默认"), false);
    EXPECT_FALSE(m_windows.GetVisible(form, T("恢复默认")));
    EXPECT_TRUE(m_windows.GetVisible(form, T("按钮_申请key")));
}

TEST_F(QtWindowSystemTest, EditFramesTakeWindowsColoursAndPictureBoxesKeepTheirBytes) {
    const FormId form = Settings();
    m_windows.SetBorderColour(form, T("编辑框边框_截屏"), 0xFF0000); // blue in the 0x00BBGGRR form
    QWidget* frame = nullptr;
    for (QWidget* child : m_windows.Widget(form)->findChildren<QWidget*>()) {
        if (child->geometry() == QRect(82, 20, 108, 24)) {
            frame = child;
        }
    }
    ASSERT_NE(frame, nullptr);
    const QImage drawn = frame->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(0, 10), QColor(0, 0, 255));

    QImage picture(28, 28, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const Bytes bytes(png.constData(), static_cast<std::size_t>(png.size()));
    m_windows.SetPicture(form, T("状态_截图"), bytes);
    EXPECT_EQ(m_windows.GetPicture(form, T("状态_截图")), bytes);
    EXPECT_EQ(m_windows.GetPicture(form, T("编辑框_截图")), "") << "only picture boxes hold pictures";
}

TEST_F(QtWindowSystemTest, ClicksReachTheCoreAfterACheckBoxHasToggled) {
    const FormId form = Settings();
    m_windows.SetVisible(form, {}, true);
    for (QAbstractButton* button : m_windows.Widget(form)->findChildren<QAbstractButton*>()) {
        if (button->text() == QStringLiteral("开机启动")) {
            button->click();
        }
    }
    const auto clicks = m_sink.Of(EventKind::Click);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].control, T("选择框_开机启动"));
    EXPECT_TRUE(m_windows.GetChecked(form, T("选择框_开机启动")));
}

TEST_F(QtWindowSystemTest, CloseRequestsAskTheCoreAndDestroyOnlyWhenAllowed) {
    const FormId form = Settings();
    m_windows.SetVisible(form, {}, true);
    m_windows.Widget(form)->close();
    EXPECT_EQ(m_sink.closeQueries, 1);
    EXPECT_TRUE(m_sink.Of(EventKind::Destroyed).empty());
    EXPECT_NE(m_windows.Widget(form), nullptr);

    m_sink.allowClose = true;
    m_windows.Widget(form)->close();
    EXPECT_EQ(m_sink.Of(EventKind::Destroyed).size(), 1u);
    EXPECT_EQ(m_windows.Widget(form), nullptr);
    EXPECT_EQ(m_windows.GetText(form, {}), "");
    tovrik::testing::ProcessEvents();
    // Gone for good: nothing more arrives.
    m_windows.Post(form, {.kind = EventKind::Hotkey, .code = 1});
    tovrik::testing::ProcessEvents();
    EXPECT_EQ(m_sink.Of(EventKind::Destroyed).size(), 1u);
    EXPECT_TRUE(m_sink.Of(EventKind::Hotkey).empty());
}

TEST_F(QtWindowSystemTest, FocusLostWhileTheWindowGoesAwayIsToldWhileItsControlsCanStillBeRead) {
    // The settings window writes a hotkey box's text when the box loses the focus; a window
    // destroyed with the focus in that box must not make it write an empty text.
    const FormId form = Settings();
    m_windows.SetText(form, T("编辑框_截图"), "Ctrl+F8");
    std::vector<Text> readOnLostFocus;
    m_sink.onEvent = [&](const Event& event) {
        if (event.kind == EventKind::LostFocus) {
            readOnLostFocus.push_back(m_windows.GetText(form, event.control));
        }
    };
    m_windows.SetVisible(form, {}, true);
    QWidget* window = m_windows.Widget(form);
    window->activateWindow();
    QWidget* box = nullptr;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->geometry() == QRect(84, 22, 104, 20)) {
            box = child;
        }
    }
    ASSERT_NE(box, nullptr);
    box->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(tovrik::testing::ProcessEventsUntil([box] { return box->hasFocus(); }));

    m_windows.DestroyForm(form);
    tovrik::testing::ProcessEvents();
    for (const Text& text : readOnLostFocus) {
        EXPECT_EQ(text, "Ctrl+F8");
    }
    EXPECT_EQ(m_sink.Of(EventKind::Destroyed).size(), 1u);
    m_sink.onEvent = nullptr;
}

TEST_F(QtWindowSystemTest, PostedEventsArriveFromTheEventLoop) {
    const FormId form = Settings();
    m_windows.Post(form, {.kind = EventKind::Hotkey, .code = 7});
    EXPECT_TRUE(m_sink.Of(EventKind::Hotkey).empty());
    tovrik::testing::ProcessEvents();
    const auto hotkeys = m_sink.Of(EventKind::Hotkey);
    ASSERT_EQ(hotkeys.size(), 1u);
    EXPECT_EQ(hotkeys[0].code, 7);
}

TEST_F(QtWindowSystemTest, CapturedBoxesRaiseWindowsKeyMessagesAndKeepTheirText) {
    const FormId form = Settings();
    EXPECT_FALSE(m_windows.CaptureKeys(form, T("标签1")));
    ASSERT_TRUE(m_windows.CaptureKeys(form, T("编辑框_截图")));
    m_windows.SetText(form, T("编辑框_截图"), T("无"));
    QWidget* box = nullptr;
    for (QWidget* child : m_windows.Widget(form)->findChildren<QWidget*>()) {
        if (child->geometry() == QRect(84, 22, 104, 20)) {
            box = child;
        }
    }
    ASSERT_NE(box, nullptr);

    Key(box, XK_Control_L, true);
    Key(box, XK_Alt_L, true);
    EXPECT_TRUE(m_keyboard.IsKeyDown(kVkLeftControl));
    EXPECT_TRUE(m_keyboard.IsKeyDown(kVkAlt));
    Key(box, XK_a, true);
    Key(box, XK_a, false);
    Key(box, XK_Alt_L, false);
    Key(box, XK_Control_L, false);
    EXPECT_FALSE(m_keyboard.IsKeyDown(kVkControl));

    std::vector<std::pair<EventKind, int>> keys;
    for (const Event& event : m_sink.events) {
        if (event.kind >= EventKind::KeyDown && event.kind <= EventKind::SysKeyUp) {
            EXPECT_EQ(event.control, T("编辑框_截图"));
            keys.emplace_back(event.kind, event.virtualKey);
        }
    }
    const std::vector<std::pair<EventKind, int>> expected{
        {EventKind::KeyDown, kVkControl}, {EventKind::KeyDown, kVkAlt}, {EventKind::KeyDown, 'A'},
        {EventKind::KeyUp, 'A'},          {EventKind::KeyUp, kVkAlt},   {EventKind::KeyUp, kVkControl},
    };
    EXPECT_EQ(keys, expected);
    // The key presses typed nothing: the text is what the program set.
    EXPECT_EQ(m_windows.GetText(form, T("编辑框_截图")), T("无"));
}

TEST_F(QtWindowSystemTest, AltAndF10AloneAreSystemKeys) {
    const FormId form = Settings();
    ASSERT_TRUE(m_windows.CaptureKeys(form, T("编辑框_截图")));
    QWidget* box = nullptr;
    for (QWidget* child : m_windows.Widget(form)->findChildren<QWidget*>()) {
        if (child->geometry() == QRect(84, 22, 104, 20)) {
            box = child;
        }
    }
    ASSERT_NE(box, nullptr);
    Key(box, XK_Alt_L, true);
    Key(box, XK_q, true);
    Key(box, XK_q, false);
    Key(box, XK_Alt_L, false);
    Key(box, XK_F10, true);
    Key(box, XK_F10, false);
    const auto down = m_sink.Of(EventKind::SysKeyDown);
    const auto up = m_sink.Of(EventKind::SysKeyUp);
    ASSERT_EQ(down.size(), 3u);
    ASSERT_EQ(up.size(), 3u);
    EXPECT_EQ(down[1].virtualKey, 'Q');
    EXPECT_EQ(up[1].virtualKey, kVkAlt);
    EXPECT_EQ(down[2].virtualKey, kVkF10);
}

TEST_F(QtWindowSystemTest, FilesDroppedAnywhereOnTheResultWindowReachItsDropTarget) {
    const FormId form = Main();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/截图/1700000000.png")), QUrl("https://example.com/x.png")});
    QWidget* widget = m_windows.Widget(form);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    tovrik::testing::ProcessEvents();
    const auto drops = m_sink.Of(EventKind::DropFiles);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].control, T("拖放对象1"));
    EXPECT_EQ(drops[0].files, (std::vector<Text>{T("/tmp/截图/1700000000.png")}));
}

TEST_F(QtWindowSystemTest, MessageBoxesAnswerWithTheButtonPressed) {
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("友情提醒:"));
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(m_windows.ShowMessage(0, T("恢复默认设置?"), T("友情提醒:"), {.buttons = MessageButtons::YesNo}),
              MessageResult::Yes);
}

} // namespace
} // namespace tovrik::ui
