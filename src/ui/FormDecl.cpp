#include "ui/FormDecl.h"

#include <algorithm>

namespace tovrik::ui {

const ControlDecl* FormDecl::Find(TextView controlName) const {
    const auto found =
        std::find_if(controls.begin(), controls.end(), [&](const ControlDecl& c) { return c.name == controlName; });
    return found == controls.end() ? nullptr : &*found;
}

} // namespace tovrik::ui
