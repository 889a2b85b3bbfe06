#include "ui/Forms.h"

namespace tovrik::ui {

namespace {

struct HotkeyRow {
    const char* label;
    const char* labelName;
    const char* edit;
    const char* frame;
    const char* status;
    int top;
};

// The delayed-capture row sits across the top edge of the group box.
constexpr HotkeyRow kHotkeyRows[] = {
    {"截图:", "标签1", "编辑框_截图", "编辑框边框_截屏", "状态_截图", 20},
    {"截图并复制:", "标签2", "编辑框_截屏并复制", "编辑框边框_截屏并复制", "状态_截图并复制", 53},
    {"自助翻译:", "标签3", "编辑框_自助翻译_3", "编辑框边框_自助翻译", "状态_自助翻译", 86},
    {"延时截图:", "标签4", "编辑框_延时截屏_4", "编辑框边框_延时截屏", "状态_延时截图", -9},
    {"截图并翻译:", "标签5", "编辑框_截图并翻译", "编辑框边框_截图并翻译", "状态_截图并翻译", 120},
};

struct KeyRow {
    const char* labelName;
    const char* label;
    const char* edit;
};

constexpr KeyRow kKeyRows[] = {
    {"标签6", "百度识别Api Key:", "编辑框_识别ApiKey"},
    {"标签7", "百度识别Secret Key:", "编辑框_识别SecretKey"},
    {"标签8", "百度翻译AppId:", "编辑框_翻译AppId"},
    {"标签9", "百度翻译key:", "编辑框_翻译key"},
};

struct StatusPane {
    const char* pane;
    const char* label;
    const char* text;
    int left;
    int width;
};

constexpr StatusPane kStatusPanes[] = {
    {"外形框1", "状态_文本1", "状态", 0, 48},
    {"外形框2", "状态_文本2", "初始化热键完毕", 48, 140},
    {"外形框3", "状态_文本3", "最后执行动作：", 188, 120},
    {"外形框4", "状态_文本4", "欢迎使用", 308, 153},
};

FormDecl BuildSettings() {
    FormDecl form{.name = "设置窗口", .caption = "托维OCR设置", .rect = {50, 50, 477, 335}};
    auto add = [&form](ControlDecl control) { form.controls.push_back(std::move(control)); };

    add({.name = "分组框1", .kind = ControlKind::GroupBox, .rect = {8, 20, 226, 174}});
    for (const HotkeyRow& row : kHotkeyRows) {
        add({.name = row.labelName,
             .kind = ControlKind::Label,
             .caption = row.label,
             .rect = {8, row.top + 4, 72, 18},
             .parent = "分组框1"});
        add({.name = row.frame, .kind = ControlKind::EditFrame, .rect = {82, row.top, 108, 24}, .parent = "分组框1"});
        add({.name = row.edit,
             .kind = ControlKind::Edit,
             .caption = "Ctrl+Alt+A",
             .rect = {84, row.top + 2, 104, 20},
             .parent = "分组框1"});
        add({.name = row.status, .kind = ControlKind::PictureBox, .rect = {194, row.top, 25, 25}, .parent = "分组框1"});
    }

    add({.name = "分组框2", .kind = ControlKind::GroupBox, .rect = {242, 8, 211, 186}});
    int top = 12;
    for (const KeyRow& row : kKeyRows) {
        add({.name = row.labelName,
             .kind = ControlKind::Label,
             .caption = row.label,
             .rect = {8, top, 195, 16},
             .parent = "分组框2"});
        add({.name = row.edit, .kind = ControlKind::Edit, .rect = {8, top + 18, 195, 20}, .parent = "分组框2"});
        top += 44;
    }

    add({.name = "选择框_自动翻译", .kind = ControlKind::CheckBox, .caption = "自动翻译", .rect = {8, 202, 96, 20}});
    add({.name = "选择框_自动朗读",
         .kind = ControlKind::CheckBox,
         .caption = "翻译后朗读",
         .rect = {108, 202, 104, 20}});
    add({.name = "选择框_开机启动", .kind = ControlKind::CheckBox, .caption = "开机启动", .rect = {216, 202, 96, 20}});
    add({.name = "选择框_截图隐藏",
         .kind = ControlKind::CheckBox,
         .caption = "截图时隐藏窗口",
         .rect = {316, 202, 137, 20}});
    add({.name = "按钮_申请key", .kind = ControlKind::Button, .caption = "申请key", .rect = {8, 230, 88, 26}});
    add({.name = "恢复默认", .kind = ControlKind::Button, .caption = "恢复默认", .rect = {104, 230, 88, 26}});
    add({.name = "透明标签_热键提示",
         .kind = ControlKind::TransparentLabel,
         .caption = "透明标签",
         .rect = {200, 235, 253, 18}});

    // Below the height that start-up gives the window: present, never seen.
    add({.name = "状态栏", .kind = ControlKind::StatusBar, .rect = {0, 274, 461, 22}});
    for (const StatusPane& pane : kStatusPanes) {
        add({.name = pane.pane,
             .kind = ControlKind::StatusPane,
             .rect = {pane.left, 0, pane.width, 22},
             .parent = "状态栏"});
        add({.name = pane.label,
             .kind = ControlKind::Label,
             .caption = pane.text,
             .rect = {3, 3, pane.width - 6, 16},
             .parent = pane.pane});
    }

    add({.name = "设置", .kind = ControlKind::Menu});
    for (const char* entry : {"截图翻译", "显示界面", "OCR设置", "退出程序"}) {
        add({.name = entry, .kind = ControlKind::MenuItem, .caption = entry, .parent = "设置"});
    }
    return form;
}

FormDecl BuildMain() {
    FormDecl form{.name = "主窗口", .caption = "托维截图OCR翻译  [支持拖放图片识别]", .rect = {50, 50, 808, 355}};
    auto add = [&form](TextView name, ControlKind kind, TextView caption, Rect rect, bool multiLine = false) {
        form.controls.push_back(
            {.name = Text(name), .kind = kind, .caption = Text(caption), .rect = rect, .multiLine = multiLine});
    };
    add("图片框1", ControlKind::PictureBox, "", {4, 2, 236, 232});
    add("透明标签_执行状态", ControlKind::TransparentLabel, "把图片拖放到窗口即可自动识别", {0, 240, 232, 40});
    add("按钮_识别文字", ControlKind::Button, "识别文字", {248, 4, 64, 24});
    add("按钮_翻译", ControlKind::Button, "翻译", {336, 2, 40, 24});
    add("按钮_朗读", ControlKind::Button, "朗读", {395, 2, 40, 24});
    add("按钮_复制识别", ControlKind::Button, "复制识别结果", {454, 2, 96, 24});
    add("按钮_复制翻译", ControlKind::Button, "复制翻译结果", {573, 2, 96, 24});
    add("按钮_打开截图目录", ControlKind::Button, "打开截图目录", {687, 2, 96, 24});
    add("标签_ocr结果", ControlKind::Label, "识别结果", {248, 31, 280, 16});
    add("标签_翻译结果", ControlKind::Label, "翻译结果", {544, 30, 256, 21});
    add("编辑框_OCR", ControlKind::Edit, "", {248, 51, 275, 184}, true);
    add("编辑框_翻译结果", ControlKind::Edit, "", {527, 51, 275, 184}, true);
    add("标签_截图快捷键", ControlKind::Label, "截图存文件快捷键:", {248, 243, 230, 16});
    add("标签_翻译", ControlKind::Label, "(自定)翻译快捷键:", {531, 243, 230, 16});
    add("标签_截图复制", ControlKind::Label, "截图复制快捷键:", {248, 268, 230, 16});
    add("标签_截图翻译", ControlKind::Label, "截图翻译快捷键:", {531, 268, 230, 16});
    add("透明标签1", ControlKind::TransparentLabel,
        "托维截图OCR翻译软件完全免费.一个好的免费软件离不开大家的支持和鼓励.欢迎反馈意见.作者不定期更新.",
        {72, 293, 600, 26});
    add("按钮_赞赏", ControlKind::Button, "赞赏支持作者", {690, 295, 112, 26});
    add("拖放对象1", ControlKind::DropTarget, "", {});
    return form;
}

FormDecl BuildDonation() {
    FormDecl form{.name = "赞赏窗口", .caption = "感谢支持托维", .rect = {120, 120, 300, 357}, .minimisable = false};
    form.controls.push_back({.name = "图片框1", .kind = ControlKind::PictureBox, .rect = {0, 0, 296, 304}});
    form.controls.push_back({.name = "透明标签1",
                             .kind = ControlKind::TransparentLabel,
                             .caption = "微信扫一扫,支持托维",
                             .rect = {0, 306, 296, 18}});
    return form;
}

} // namespace

const FormDecl& SettingsWindowForm() {
    static const FormDecl form = BuildSettings();
    return form;
}

const FormDecl& MainWindowForm() {
    static const FormDecl form = BuildMain();
    return form;
}

const FormDecl& DonationWindowForm() {
    static const FormDecl form = BuildDonation();
    return form;
}

} // namespace tovrik::ui
