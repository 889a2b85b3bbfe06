#pragma once

#include <array>
#include <cstddef>

namespace tovrik::app {

// The five hotkey commands; the value is the index of the command's hotkey box.
enum class HotkeyAction { CaptureToFile, CaptureAndCopy, SelfTranslate, DelayedCapture, CaptureAndTranslate };

inline constexpr std::size_t kHotkeyActionCount = 5;

// One row of the settings window's hotkey group. Texts are program text.
struct HotkeyRow {
    HotkeyAction action;
    const char* settingsKey; // item of section "Hotkey"
    const char* edit;
    const char* frame;
    const char* status; // picture box for the OK or fail picture
};

inline constexpr std::array<HotkeyRow, kHotkeyActionCount> kHotkeyRows{{
    {HotkeyAction::CaptureToFile, "截图热键", "编辑框_截图", "编辑框边框_截屏", "状态_截图"},
    {HotkeyAction::CaptureAndCopy, "截屏并复制热键", "编辑框_截屏并复制", "编辑框边框_截屏并复制", "状态_截图并复制"},
    {HotkeyAction::SelfTranslate, "自助翻译热键", "编辑框_自助翻译_3", "编辑框边框_自助翻译", "状态_自助翻译"},
    {HotkeyAction::DelayedCapture, "延时截屏热键", "编辑框_延时截屏_4", "编辑框边框_延时截屏", "状态_延时截图"},
    {HotkeyAction::CaptureAndTranslate, "截图并翻译热键", "编辑框_截图并翻译", "编辑框边框_截图并翻译",
     "状态_截图并翻译"},
}};

[[nodiscard]] constexpr const HotkeyRow& RowOf(HotkeyAction action) {
    return kHotkeyRows[static_cast<std::size_t>(action)];
}

} // namespace tovrik::app
