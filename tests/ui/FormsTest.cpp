#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <set>

namespace tovrik::ui {
namespace {

bool IsContainer(ControlKind kind) {
    return kind == ControlKind::GroupBox || kind == ControlKind::StatusBar || kind == ControlKind::StatusPane ||
           kind == ControlKind::Menu;
}

// What every backend relies on: unique names, and parents declared before their children
// with a kind that can hold them.
void ExpectWellFormed(const FormDecl& form) {
    std::set<Text> seen;
    for (const ControlDecl& control : form.controls) {
        EXPECT_FALSE(control.name.empty());
        EXPECT_TRUE(seen.insert(control.name).second) << control.name;
        if (control.parent.empty()) {
            EXPECT_NE(control.kind, ControlKind::MenuItem) << control.name;
            continue;
        }
        const ControlDecl* parent = form.Find(control.parent);
        ASSERT_NE(parent, nullptr) << control.name;
        EXPECT_TRUE(seen.contains(parent->name)) << control.name;
        EXPECT_TRUE(IsContainer(parent->kind)) << control.name;
        EXPECT_EQ(control.kind == ControlKind::MenuItem, parent->kind == ControlKind::Menu) << control.name;
    }
}

TEST(FormsTest, EveryFormIsWellFormed) {
    ExpectWellFormed(SettingsWindowForm());
    ExpectWellFormed(MainWindowForm());
    ExpectWellFormed(DonationWindowForm());
}

TEST(FormsTest, TheSettingsWindowHoldsTheHotkeyRowsAndTheTrayMenu) {
    const FormDecl& form = SettingsWindowForm();
    EXPECT_EQ(form.caption, "托维OCR设置");
    EXPECT_EQ(form.rect, (Rect{50, 50, 477, 335}));
    // The delayed-capture row lies across the group's top edge.
    EXPECT_EQ(form.Find("编辑框边框_延时截屏")->rect.top, -9);
    EXPECT_EQ(form.Find("编辑框边框_截图并翻译")->rect.top, 120);
    EXPECT_EQ(form.Find("编辑框_截图")->caption, "Ctrl+Alt+A");
    EXPECT_EQ(form.Find("状态_截图")->rect.width, 25);
    EXPECT_EQ(form.Find("选择框_截图隐藏")->caption, "截图时隐藏窗口");
    EXPECT_EQ(form.Find("透明标签_热键提示")->kind, ControlKind::TransparentLabel);
    // Start-up cuts the window to 310 pixels (about 271 of client area, under a caption bar and
    // frame of about 39): the status strip lies below what stays visible.
    EXPECT_GE(form.Find("状态栏")->rect.top, 310 - 39);

    std::vector<Text> menu;
    for (const ControlDecl& control : form.controls) {
        if (control.parent == "设置") {
            menu.push_back(control.caption);
        }
    }
    EXPECT_EQ(menu, (std::vector<Text>{"截图翻译", "显示界面", "OCR设置", "退出程序"}));
}

TEST(FormsTest, TheMainWindowFollowsItsLayout) {
    const FormDecl& form = MainWindowForm();
    EXPECT_EQ(form.caption, "托维截图OCR翻译  [支持拖放图片识别]");
    EXPECT_EQ(form.rect, (Rect{50, 50, 808, 355}));
    EXPECT_EQ(form.Find("图片框1")->rect, (Rect{4, 2, 236, 232}));
    EXPECT_EQ(form.Find("编辑框_翻译结果")->rect, (Rect{527, 51, 275, 184}));
    EXPECT_TRUE(form.Find("编辑框_OCR")->multiLine);
    EXPECT_EQ(form.Find("按钮_复制识别")->caption, "复制识别结果");
    EXPECT_EQ(form.Find("标签_翻译")->caption, "(自定)翻译快捷键:");
    EXPECT_EQ(form.Find("拖放对象1")->kind, ControlKind::DropTarget);
}

TEST(FormsTest, TheDonationWindowIsAPictureAndALine) {
    const FormDecl& form = DonationWindowForm();
    EXPECT_EQ(form.caption, "感谢支持托维");
    EXPECT_EQ(form.rect.width, 300);
    EXPECT_EQ(form.rect.height, 357);
    EXPECT_EQ(form.Find("图片框1")->rect, (Rect{0, 0, 296, 304}));
    EXPECT_EQ(form.Find("透明标签1")->caption, "微信扫一扫,支持托维");
}

} // namespace
} // namespace tovrik::ui
