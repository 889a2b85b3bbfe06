#pragma once

#include "app/HotkeyRegistrar.h"
#include "ui/Form.h"

#include <functional>
#include <optional>
#include <vector>

namespace tovrik::app {

// The process-wide list of registered hotkeys. With the first registration it hooks the owner
// form and from then on dispatches each Hotkey event to the handler registered with that id.
class HotkeyTable {
public:
    using Handler = std::function<void()>;

    explicit HotkeyTable(HotkeyRegistrar& registrar);
    // Releases what is still registered.
    ~HotkeyTable();
    HotkeyTable(const HotkeyTable&) = delete;
    HotkeyTable& operator=(const HotkeyTable&) = delete;

    // Drops (and unregisters) any entry with this id, then registers the combination. False
    // for id 0 or when the system refuses it.
    [[nodiscard]] bool Register(ui::Form& owner, unsigned modifiers, int virtualKey, Handler handler, int id);
    // Unregisters the hotkey but keeps its entry.
    void UnregisterOne(ui::Form& owner, int id);
    // Unregisters every entry in table order, unhooks the owner and empties the table.
    void UnregisterAll(ui::Form& owner);

private:
    struct Entry {
        ui::Form* owner;
        int id;
        Handler handler;
    };

    [[nodiscard]] bool OnOwnerEvent(const ui::Event& event);

    HotkeyRegistrar& m_registrar;
    std::vector<Entry> m_entries;
    ui::Form* m_hooked = nullptr;
    ui::Form::HookId m_hook = 0;
};

} // namespace tovrik::app
