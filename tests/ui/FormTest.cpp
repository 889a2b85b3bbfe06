#include "ui/Form.h"
#include "fakes/FakeWindowSystem.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovrik::ui {
namespace {

FormDecl TestForm() {
    FormDecl form{.name = "测试窗口", .caption = "测试", .rect = {10, 20, 300, 200}};
    form.controls.push_back({.name = "按钮1", .kind = ControlKind::Button, .caption = "确定"});
    form.controls.push_back({.name = "编辑框1", .kind = ControlKind::Edit});
    return form;
}

class FormTest : public testing::Test {
protected:
    fakes::FakeKeyboard m_keyboard;
    fakes::FakeWindowSystem m_windows{m_keyboard};
    Form m_form{m_windows, TestForm()};
};

TEST_F(FormTest, LoadCreatesTheFormHiddenAndRaisesCreatedOnce) {
    int created = 0;
    m_form.On({}, EventKind::Created, [&](const Event&) {
        ++created;
        EXPECT_EQ(m_form.GetText("按钮1"), "确定"); // the controls exist by then
    });
    ASSERT_TRUE(m_form.Load());
    ASSERT_TRUE(m_form.Load());
    EXPECT_EQ(created, 1);
    EXPECT_EQ(m_windows.CreatedCount("测试窗口"), 1);
    EXPECT_FALSE(m_form.IsShown());
    EXPECT_EQ(m_form.GetText({}), "测试");
    EXPECT_EQ(m_form.GetRect({}), (Rect{10, 20, 300, 200}));
}

TEST_F(FormTest, HooksSeeEventsBeforeTheHandlerNewestFirstAndCanSwallowThem) {
    std::vector<int> order;
    m_form.On("按钮1", EventKind::Click, [&](const Event&) { order.push_back(0); });
    const Form::HookId first = m_form.AddHook([&](const Event& e) {
        order.push_back(1);
        return e.kind == EventKind::DoubleClick;
    });
    static_cast<void>(m_form.AddHook([&](const Event&) {
        order.push_back(2);
        return false;
    }));
    ASSERT_TRUE(m_form.Load());
    EXPECT_EQ(order, (std::vector<int>{2, 1})); // Created goes through the hooks too

    order.clear();
    m_windows.Click(m_form.Id(), "按钮1");
    EXPECT_EQ(order, (std::vector<int>{2, 1, 0}));

    order.clear();
    m_form.On("按钮1", EventKind::DoubleClick, [&](const Event&) { order.push_back(0); });
    m_windows.DoubleClick(m_form.Id(), "按钮1");
    EXPECT_EQ(order, (std::vector<int>{2, 1}));

    order.clear();
    m_form.RemoveHook(first);
    m_windows.DoubleClick(m_form.Id(), "按钮1");
    EXPECT_EQ(order, (std::vector<int>{2, 0}));
}

TEST_F(FormTest, AHookMayRemoveItselfAndOthersWhileAnEventIsDispatched) {
    int laterCalls = 0;
    Form::HookId later = m_form.AddHook([&](const Event&) {
        ++laterCalls;
        return false;
    });
    Form::HookId self = 0;
    self = m_form.AddHook([&](const Event&) {
        m_form.RemoveHook(self);
        m_form.RemoveHook(later);
        return false;
    });
    int clicks = 0;
    m_form.On("按钮1", EventKind::Click, [&](const Event&) { ++clicks; });
    ASSERT_TRUE(m_form.Load());
    m_windows.Click(m_form.Id(), "按钮1");
    m_windows.Click(m_form.Id(), "按钮1");
    EXPECT_EQ(laterCalls, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(FormTest, FocusLeavesOneControlBeforeItReachesTheNext) {
    std::vector<Text> seen;
    for (const char* control : {"按钮1", "编辑框1"}) {
        m_form.On(control, EventKind::GotFocus,
                  [&seen, control](const Event&) { seen.push_back(Text("+") + control); });
        m_form.On(control, EventKind::LostFocus,
                  [&seen, control](const Event&) { seen.push_back(Text("-") + control); });
    }
    ASSERT_TRUE(m_form.Load());
    m_windows.Focus(m_form.Id(), "按钮1");
    m_windows.TypeText(m_form.Id(), "编辑框1", "文字");
    m_windows.Focus(m_form.Id(), {});
    EXPECT_EQ(seen, (std::vector<Text>{"+按钮1", "-按钮1", "+编辑框1", "-编辑框1"}));
    EXPECT_EQ(m_form.GetText("编辑框1"), "文字");
}

TEST_F(FormTest, CloseQueryDecidesWhetherTheFormGoesAway) {
    bool allow = false;
    m_form.OnCloseQuery([&] { return allow; });
    int destroyed = 0;
    m_form.On({}, EventKind::Destroyed, [&](const Event&) { ++destroyed; });
    ASSERT_TRUE(m_form.Load());

    EXPECT_FALSE(m_windows.CloseBox(m_form.Id()));
    EXPECT_TRUE(m_form.IsLoaded());
    allow = true;
    EXPECT_TRUE(m_windows.CloseBox(m_form.Id()));
    EXPECT_FALSE(m_form.IsLoaded());
    EXPECT_EQ(destroyed, 1);
}

TEST_F(FormTest, AFormWithoutCloseQueryAlwaysCloses) {
    ASSERT_TRUE(m_form.Load());
    EXPECT_TRUE(m_windows.CloseBox(m_form.Id()));
    EXPECT_FALSE(m_form.IsLoaded());
}

TEST_F(FormTest, ADestroyedFormReadsEmptyAndLoadsAgainWithItsHandlers) {
    int created = 0;
    int clicks = 0;
    m_form.On({}, EventKind::Created, [&](const Event&) { ++created; });
    m_form.On("按钮1", EventKind::Click, [&](const Event&) { ++clicks; });
    ASSERT_TRUE(m_form.Load());
    m_form.SetText("编辑框1", "内容");
    m_form.Destroy();

    EXPECT_FALSE(m_form.IsLoaded());
    EXPECT_EQ(m_form.GetText("编辑框1"), "");
    m_form.SetText("编辑框1", "无处可写");
    m_form.Show();

    ASSERT_TRUE(m_form.Load());
    EXPECT_EQ(created, 2);
    EXPECT_EQ(m_windows.CreatedCount("测试窗口"), 2);
    EXPECT_EQ(m_form.GetText("编辑框1"), ""); // a new native form starts from the declaration
    m_windows.Click(m_form.Id(), "按钮1");
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, TheDestructorDestroysTheNativeFormWithoutRunningHandlers) {
    fakes::FakeKeyboard keyboard;
    fakes::FakeWindowSystem windows{keyboard};
    bool ran = false;
    FormId id = 0;
    {
        Form form{windows, TestForm()};
        form.On({}, EventKind::Destroyed, [&](const Event&) { ran = true; });
        ASSERT_TRUE(form.Load());
        id = form.Id();
    }
    EXPECT_FALSE(windows.IsAlive(id));
    EXPECT_FALSE(ran);
}

TEST_F(FormTest, RunModalShowsTheFormUntilTheUserClosesIt) {
    bool shownWhileModal = false;
    m_windows.WhileModal([&](FormId id) { shownWhileModal = m_windows.FormState(id).visible; });
    m_form.RunModal();
    EXPECT_TRUE(shownWhileModal);
    EXPECT_FALSE(m_form.IsLoaded());
}

} // namespace
} // namespace tovrik::ui
