// The global-shortcuts portal client against the portal stand-in on a private bus: what it
// asks the desktop for, what counts as registered, a change of a hotkey box rebinding the whole
// set, and a press on the desktop reaching the settings window's hotkey handler.
#include "app/linux/PortalHotkeyRegistrar.h"
#include "app/HotkeyBox.h"
#include "app/HotkeyTable.h"
#include "portal/PortalDouble.h"
#include "text/Encoding.h"
#include "ui/Form.h"
#include "ui/Forms.h"
#include "ui/linux/OffscreenQt.h"
#include "ui/linux/QtKeyboard.h"
#include "ui/linux/QtWindowSystem.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tovrik::app {
namespace {

constexpr int kVkF8 = 0x77;
constexpr int kVkA = 0x41;
const ui::FormId kOwner = 7;

// The combinations of the last BindShortcuts call in the stand-in's log.
QString LastBinding(const QString& log) {
    const QStringList lines = log.split(QLatin1Char('\n'));
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->startsWith(QStringLiteral("BindShortcuts "))) {
            return line->mid(14);
        }
    }
    return {};
}

class PortalHotkeyRegistrarTest : public ::testing::Test {
protected:
    void SetUp() override { testing::OffscreenApplication(); }

    // Presses go to the owner form as Hotkey events, the way the program wires the registrar.
    [[nodiscard]] PortalHotkeyRegistrar::Deliver PostToForm() {
        return [this](ui::FormId owner, int id) { m_windows.Post(owner, {.kind = ui::EventKind::Hotkey, .code = id}); };
    }
    [[nodiscard]] PortalHotkeyRegistrar::Deliver Record() {
        return [this](ui::FormId owner, int id) { m_pressed.emplace_back(owner, id); };
    }

    ui::QtKeyboard m_keyboard;
    ui::QtWindowSystem m_windows{m_keyboard};
    std::vector<std::pair<ui::FormId, int>> m_pressed;
};

TEST_F(PortalHotkeyRegistrarTest, TriggersAreWrittenTheWayThePortalReadsThem) {
    EXPECT_EQ(PortalHotkeyRegistrar::Trigger(kModControl, kVkF8), QStringLiteral("CTRL+F8"));
    EXPECT_EQ(PortalHotkeyRegistrar::Trigger(kModControl | kModAlt | kModShift, kVkA),
              QStringLiteral("CTRL+ALT+SHIFT+a"));
    EXPECT_EQ(PortalHotkeyRegistrar::Trigger(0, 0), QString());
}

TEST_F(PortalHotkeyRegistrarTest, GrantedHotkeysAreRegisteredRebindAsASetAndArriveAsPresses) {
    // The stand-in presses hotkey-2 on the desktop 100 ms after each binding.
    PortalDouble portal({QStringLiteral("--shortcuts"), QStringLiteral("grant"), QStringLiteral("--activate"),
                         QStringLiteral("hotkey-2")});
    ASSERT_TRUE(portal.Started()) << portal.Problem();
    ASSERT_TRUE(PortalHotkeyRegistrar::Offered(portal.Bus()));
    PortalHotkeyRegistrar registrar(portal.Bus(), PostToForm(), 3000);
    // Before the table and the boxes, which unhook it when they go, as in the settings window.
    ui::Form settings(m_windows, ui::SettingsWindowForm());
    ASSERT_TRUE(settings.Load());
    HotkeyTable table(registrar);
    int captures = 0;
    int copies = 0;
    HotkeyBox capture(table, m_keyboard);
    HotkeyBox copy(table, m_keyboard);
    ASSERT_TRUE(capture.Bind(settings, testing::T("编辑框_截图"), 1, false, [&captures] { ++captures; }));
    ASSERT_TRUE(copy.Bind(settings, testing::T("编辑框_截屏并复制"), 2, false, [&copies] { ++copies; }));

    settings.SetText(testing::T("编辑框_截图"), "Ctrl+F8");
    capture.Enable();
    settings.SetText(testing::T("编辑框_截屏并复制"), "Ctrl+Shift+A");
    copy.Enable();
    EXPECT_TRUE(capture.IsRegistered());
    EXPECT_TRUE(copy.IsRegistered());
    EXPECT_TRUE(registrar.UnavailableHint().empty());
    // The same combination twice is refused, as RegisterHotKey refuses it, without asking.
    EXPECT_FALSE(registrar.Register(settings.Id(), 3, kModControl, kVkF8));
    QString log = portal.Log();
    EXPECT_TRUE(log.contains(QStringLiteral("BindShortcuts hotkey-1=CTRL+F8\n"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("BindShortcuts hotkey-1=CTRL+F8 hotkey-2=CTRL+SHIFT+a\n")))
        << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("BindShortcuts")), 2) << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("CreateSession")), 2) << log.toStdString();

    // Activated on the desktop -> a Hotkey event on the settings window -> the box's handler.
    ASSERT_TRUE(testing::ProcessEventsUntil([&copies] { return copies > 0; }));
    EXPECT_EQ(captures, 0);

    // A changed hotkey box: the whole set is bound again with the new combination, and the
    // presses of the new session still arrive.
    const int before = copies;
    settings.SetText(testing::T("编辑框_截图"), "Alt+F8");
    capture.Apply();
    EXPECT_TRUE(capture.IsRegistered());
    EXPECT_EQ(LastBinding(portal.Log()), QStringLiteral("hotkey-2=CTRL+SHIFT+a hotkey-1=ALT+F8"))
        << portal.Log().toStdString();
    ASSERT_TRUE(testing::ProcessEventsUntil([&copies, before] { return copies > before; }));
    EXPECT_EQ(captures, 0);
    // Once: the desktop may ask the user about every binding.
    EXPECT_EQ(portal.Log().count(QStringLiteral("BindShortcuts")), 3) << portal.Log().toStdString();

    // A hotkey removed with none in its place: the rest is bound anew from the event loop.
    settings.SetText(testing::T("编辑框_截图"), testing::T("无"));
    capture.Apply();
    EXPECT_FALSE(capture.IsRegistered());
    ASSERT_TRUE(testing::ProcessEventsUntil([&portal] {
        return portal.Log().count(QStringLiteral("BindShortcuts")) == 4;
    })) << portal.Log().toStdString();
    EXPECT_EQ(LastBinding(portal.Log()), QStringLiteral("hotkey-2=CTRL+SHIFT+a")) << portal.Log().toStdString();
}

TEST_F(PortalHotkeyRegistrarTest, PressesOfAnIdNeverBoundReachNobody) {
    // hotkey-9 is pressed after every binding, but never bound.
    PortalDouble portal({QStringLiteral("--shortcuts"), QStringLiteral("grant"), QStringLiteral("--activate"),
                         QStringLiteral("hotkey-9")});
    ASSERT_TRUE(portal.Started()) << portal.Problem();
    PortalHotkeyRegistrar registrar(portal.Bus(), Record(), 3000);
    EXPECT_TRUE(registrar.Register(kOwner, 1, kModControl, kVkF8));
    ASSERT_TRUE(testing::ProcessEventsUntil([&portal] { return portal.Log().contains(QStringLiteral("Activated")); }))
        << portal.Log().toStdString();
    // Time for the signal to travel.
    static_cast<void>(testing::ProcessEventsUntil([] { return false; }, 300));
    EXPECT_TRUE(m_pressed.empty());
}

TEST_F(PortalHotkeyRegistrarTest, ARefusingDesktopRegistersNothingAndSaysWhatToDoInstead) {
    PortalDouble portal({QStringLiteral("--shortcuts"), QStringLiteral("refuse")});
    ASSERT_TRUE(portal.Started()) << portal.Problem();
    PortalHotkeyRegistrar registrar(portal.Bus(), Record(), 3000);
    EXPECT_TRUE(registrar.UnavailableHint().empty());
    EXPECT_FALSE(registrar.Register(kOwner, 1, kModControl, kVkF8));
    const std::string hint = text::TextToUtf8(registrar.UnavailableHint());
    EXPECT_NE(hint.find("允许"), std::string::npos) << hint;
    EXPECT_NE(hint.find("TovrikOcr --capture-to-file"), std::string::npos) << hint;
    EXPECT_TRUE(m_pressed.empty());
}

TEST_F(PortalHotkeyRegistrarTest, ADesktopThatNeverAnswersIsWithdrawnAndCountsAsRefusing) {
    PortalDouble portal({QStringLiteral("--shortcuts"), QStringLiteral("never")});
    ASSERT_TRUE(portal.Started()) << portal.Problem();
    PortalHotkeyRegistrar registrar(portal.Bus(), Record(), 300);
    EXPECT_FALSE(registrar.Register(kOwner, 1, kModControl, kVkF8));
    EXPECT_FALSE(registrar.UnavailableHint().empty());
    // The request is withdrawn without waiting for the portal.
    EXPECT_TRUE(testing::ProcessEventsUntil([&portal] { return portal.Log().contains(QStringLiteral("Close\n")); }))
        << portal.Log().toStdString();
    // The other hotkeys of the start are not made to wait for it again.
    EXPECT_FALSE(registrar.Register(kOwner, 2, kModControl, kVkA));
    EXPECT_FALSE(registrar.UnavailableHint().empty());
    EXPECT_EQ(portal.Log().count(QStringLiteral("CreateSession")), 1) << portal.Log().toStdString();
}

TEST_F(PortalHotkeyRegistrarTest, ABusWithoutThePortalOffersNothing) {
    EXPECT_FALSE(PortalHotkeyRegistrar::Offered(QDBusConnection(QStringLiteral("no-such-connection"))));
    PortalDouble portal({QStringLiteral("--shortcuts"), QStringLiteral("none")});
    ASSERT_TRUE(portal.Started()) << portal.Problem();
    EXPECT_FALSE(PortalHotkeyRegistrar::Offered(portal.Bus()));
}

} // namespace
} // namespace tovrik::app
