#pragma once

#include "services/KeySource.h"
#include "ui/Form.h"

namespace tovrik::app {

// The service's view of the settings window: its two OCR key boxes and its hint line.
class FormKeySource final : public services::KeySource {
public:
    explicit FormKeySource(ui::Form& settingsForm) : m_form(settingsForm) {}

    [[nodiscard]] Text ApiKeyText() const override { return m_form.GetText("编辑框_识别ApiKey"); }
    [[nodiscard]] Text SecretKeyText() const override { return m_form.GetText("编辑框_识别SecretKey"); }
    void ShowKeyError(TextView message) override {
        m_form.Show();
        m_form.Activate();
        m_form.SetText("透明标签_热键提示", message);
    }

private:
    ui::Form& m_form;
};

} // namespace tovrik::app
