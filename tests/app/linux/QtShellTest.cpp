// The application shell of the core on the Qt window system (offscreen), with the other ports
// faked: what the user does to the real widgets reaches the core's rules.
#include "app/Application.h"
#include "fakes/FakeAutostartStore.h"
#include "fakes/FakeHotkeyRegistrar.h"
#include "fakes/FakeInstanceGuard.h"
#include "fakes/FakeProcessControl.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeTrayHost.h"
#include "files/Files.h"
#include "ui/linux/OffscreenQt.h"
#include "ui/linux/QtKeyboard.h"
#include "ui/linux/QtWindowSystem.h"
#include "util/TempDir.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

using tovrik::testing::T;

constexpr int kF8 = 119;

class QtShellTest : public ::testing::Test {
protected:
    QtShellTest() { tovrik::testing::OffscreenApplication(); }
    ~QtShellTest() override { tovrik::testing::ProcessEvents(); }

    [[nodiscard]] QWidget* Window() { return m_windows.Widget(m_app.SettingsForm().Id()); }
    // The line edit at the declared place of a hotkey box (inside its group box).
    [[nodiscard]] QLineEdit* Box(int top) {
        for (QLineEdit* edit : Window()->findChildren<QLineEdit*>()) {
            if (edit->geometry() == QRect(84, top + 2, 104, 20)) {
                return edit;
            }
        }
        return nullptr;
    }
    static void Focus(QWidget* widget, bool in) {
        QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(widget, &event);
    }
    static void Key(QWidget* widget, unsigned long keysym, bool down) {
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier, 0,
                        static_cast<quint32>(keysym), 0);
        QApplication::sendEvent(widget, &event);
    }

    tovrik::testing::TempDir m_dir;
    ui::QtKeyboard m_keyboard;
    ui::QtWindowSystem m_windows{m_keyboard};
    fakes::FakeHotkeyRegistrar m_hotkeys;
    fakes::FakeTrayHost m_tray;
    fakes::FakeInstanceGuard m_instance;
    fakes::FakeAutostartStore m_autostart;
    fakes::FakeProcessControl m_process;
    fakes::FakeShell m_shell;
    Application m_app{Ports{m_windows, m_keyboard, m_hotkeys, m_tray, m_instance, m_autostart, m_process, m_shell},
                      m_dir.Path()};
};

TEST_F(QtShellTest, FirstRunShowsTheSettingsWindowWithItsHotkeysRegistered) {
    m_app.Start();
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_TRUE(files::FileExists(files::JoinPath(m_dir.Path(), "ZuDur.ini")));
    EXPECT_EQ(m_windows.GetRect(m_app.SettingsForm().Id(), {}).height, 310);
    EXPECT_EQ(m_app.SettingsForm().GetText(T("透明标签_热键提示")), T("热键设置完毕!"));
    const auto holder = m_hotkeys.Holder(kModControl, kF8);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->owner, m_app.SettingsForm().Id());
    EXPECT_TRUE(m_tray.HasIcon());
}

TEST_F(QtShellTest, KeysPressedInAHotkeyBoxBecomeTheNewHotkey) {
    m_app.Start();
    QLineEdit* box = Box(20);
    ASSERT_NE(box, nullptr);
    Focus(box, true);
    Key(box, XK_Control_L, true);
    EXPECT_EQ(box->text(), QStringLiteral("Ctrl+"));
    Key(box, XK_Alt_L, true);
    EXPECT_EQ(box->text(), QStringLiteral("Ctrl+Alt+"));
    Key(box, XK_a, true);
    EXPECT_EQ(box->text(), QStringLiteral("Ctrl+Alt+A"));
    Key(box, XK_a, false);
    Key(box, XK_Alt_L, false);
    Key(box, XK_Control_L, false);
    Focus(box, false);

    EXPECT_FALSE(m_hotkeys.Holder(kModControl, kF8).has_value());
    EXPECT_TRUE(m_hotkeys.Holder(kModControl | kModAlt, 'A').has_value());
    EXPECT_EQ(box->text(), QStringLiteral("Ctrl+Alt+A"));
}

TEST_F(QtShellTest, ClosingTheWindowOnlyHidesItAndTheHotkeysStay) {
    m_app.Start();
    Window()->close();
    ASSERT_NE(Window(), nullptr);
    EXPECT_FALSE(Window()->isVisible());
    EXPECT_TRUE(m_hotkeys.Holder(kModControl, kF8).has_value());
    EXPECT_TRUE(m_process.ExitCodes().empty());
}

TEST_F(QtShellTest, MinimisingSendsTheWindowToTheTray) {
    m_app.Start();
    ASSERT_TRUE(Window()->isVisible());
    Window()->showMinimized();
    EXPECT_TRUE(tovrik::testing::ProcessEventsUntil([&] { return !Window()->isVisible(); }));
    EXPECT_TRUE(m_hotkeys.Holder(kModControl, kF8).has_value());
}

TEST_F(QtShellTest, AHotkeyRunsItsCommandFromTheEventLoop) {
    int captures = 0;
    Commands commands;
    commands.captureToFile = [&] { ++captures; };
    m_app.SetCommands(std::move(commands));
    m_app.Start();
    const auto holder = m_hotkeys.Holder(kModControl, kF8);
    ASSERT_TRUE(holder.has_value());
    m_windows.Post(holder->owner, {.kind = ui::EventKind::Hotkey, .code = holder->id});
    EXPECT_EQ(captures, 0);
    tovrik::testing::ProcessEvents();
    EXPECT_EQ(captures, 1);
}

TEST_F(QtShellTest, ExitReleasesTheHotkeysAndTheIconAndEndsWithCodeZero) {
    m_app.Start();
    m_app.RequestExit();
    EXPECT_TRUE(m_hotkeys.Active().empty());
    EXPECT_FALSE(m_tray.HasIcon());
    EXPECT_EQ(m_process.ExitCodes(), (std::vector<int>{0}));
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(QtShellTest, ASecondCopySaysSoAndEnds) {
    m_instance.HeldByAnotherProcess(kInstanceName);
    // The message box is modal: answer it from the event loop.
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    m_app.Start();
    EXPECT_EQ(m_process.ExitCodes(), (std::vector<int>{0}));
    EXPECT_FALSE(files::FileExists(files::JoinPath(m_dir.Path(), "ZuDur.ini")));
}

} // namespace
} // namespace tovrik::app
