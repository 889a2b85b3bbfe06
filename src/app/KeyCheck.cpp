#include "app/KeyCheck.h"

#include "app/SettingsWindow.h"
#include "app/Shell.h"
#include "services/RecognitionService.h"
#include "settings/SettingsStore.h"
#include "ui/Form.h"

namespace tovrik::app {

namespace {

constexpr TextView kApplyButton = "按钮_申请key";
constexpr TextView kApiKeyBox = "编辑框_识别ApiKey";
constexpr TextView kSecretKeyBox = "编辑框_识别SecretKey";
// Leaves the hint or the service's key message readable before anything else happens.
constexpr int kPauseMs = 1380;

} // namespace

KeyCheck::KeyCheck(ui::Form& settingsForm, const settings::SettingsStore& settings,
                   services::RecognitionService& service, Shell& shell)
    : m_form(settingsForm), m_settings(settings), m_service(service), m_shell(shell) {
    m_form.On(kApiKeyBox, ui::EventKind::LostFocus, [this](const ui::Event&) { Run(); });
    m_form.On(kSecretKeyBox, ui::EventKind::LostFocus, [this](const ui::Event&) { Run(); });
    m_form.On(kApplyButton, ui::EventKind::Click, [this](const ui::Event&) { m_shell.OpenUrl(kApplyForKeysUrl); });
}

void KeyCheck::Run() {
    // The button is enabled exactly while no token is known: only then are the keys tested.
    if (!m_form.GetEnabled(kApplyButton)) {
        return;
    }
    const Text apiKey = m_form.GetText(kApiKeyBox);
    const Text secretKey = m_form.GetText(kSecretKeyBox);
    if (apiKey.empty() || secretKey.empty()) {
        return;
    }
    if (!m_service.GetAccessToken(true).empty()) {
        m_settings.WriteItem(kSectionOcr, "识别ApiKey", apiKey);
        m_settings.WriteItem(kSectionOcr, "识别SecretKey", secretKey);
        m_form.SetText("透明标签_热键提示", kKeysAccepted);
        m_form.SetEnabled(kApplyButton, false);
    } else {
        m_form.SetEnabled(kApplyButton, true);
    }
    m_form.Windows().WaitProcessingEvents(kPauseMs);
}

} // namespace tovrik::app
