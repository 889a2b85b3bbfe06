#pragma once

#include "text/Types.h"

namespace tovrik::services {

// The labels of the result window that show what a service operation is doing. The window
// implements it; which label a status goes to is decided by the service.
class JobStatusView {
public:
    virtual ~JobStatusView() = default;
    // controlName is one of the window's label names, for example "标签_ocr结果".
    virtual void SetLabelCaption(TextView controlName, TextView caption) = 0;
};

} // namespace tovrik::services
