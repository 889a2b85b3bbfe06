#pragma once

#include "text/Types.h"

namespace tovrik::services {
class RecognitionService;
}
namespace tovrik::settings {
class SettingsStore;
}
namespace tovrik::ui {
class Form;
}

namespace tovrik::app {

class Shell;

inline constexpr TextView kKeysAccepted = "识别Key已设置正确!";
inline constexpr TextView kApplyForKeysUrl = "https://cloud.baidu.com/product/ocr_general";

// The settings window's OCR key boxes: while no token is known, leaving either box asks the
// service for a token with the typed keys and keeps them when it is granted; the
// "申请key" button opens the page where keys are applied for.
class KeyCheck {
public:
    KeyCheck(ui::Form& settingsForm, const settings::SettingsStore& settings, services::RecognitionService& service,
             Shell& shell);
    KeyCheck(const KeyCheck&) = delete;
    KeyCheck& operator=(const KeyCheck&) = delete;

    void Run();

private:
    ui::Form& m_form;
    const settings::SettingsStore& m_settings;
    services::RecognitionService& m_service;
    Shell& m_shell;
};

} // namespace tovrik::app
