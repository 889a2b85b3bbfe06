#include "capture/linux/OverlayMenu.h"

#include "ui/linux/QtText.h"
#include "ui/linux/TestHook.h"

#include <QAction>
#include <QMenu>

namespace tovrik::capture {

int RunOverlayMenu(QWidget& parent, const std::vector<MenuItem>& items, const QPoint& at) {
    QMenu menu(&parent);
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ui::ToQString(item.label));
        action->setEnabled(item.enabled);
        action->setData(item.id);
    }
    ui::TestHook::Report("overlay", "menu");
    const QAction* chosen = menu.exec(at);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

} // namespace tovrik::capture
