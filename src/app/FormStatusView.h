#pragma once

#include "services/JobStatusView.h"
#include "ui/Form.h"

namespace tovrik::app {

// The service's progress texts go to the main window's labels; nothing shows while the window
// is not loaded.
class FormStatusView final : public services::JobStatusView {
public:
    explicit FormStatusView(ui::Form& mainForm) : m_form(mainForm) {}

    void SetLabelCaption(TextView controlName, TextView caption) override { m_form.SetText(controlName, caption); }

private:
    ui::Form& m_form;
};

} // namespace tovrik::app
