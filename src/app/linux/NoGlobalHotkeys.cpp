#include "app/linux/NoGlobalHotkeys.h"

#include "text/Encoding.h"

namespace tovrik::app {

bool NoGlobalHotkeys::Register(ui::FormId, int, unsigned, int) {
    return false;
}

void NoGlobalHotkeys::Unregister(ui::FormId, int) {}

Text NoGlobalHotkeys::UnavailableHint() const {
    return text::Utf8ToText("桌面不提供全局热键: 请在桌面的键盘设置中绑定 TovrikOcr --capture-to-file 等命令");
}

} // namespace tovrik::app
