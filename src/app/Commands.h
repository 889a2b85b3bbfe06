#pragma once

#include "text/Types.h"

#include <functional>

namespace tovrik::app {

// What the shell runs in other subsystems: the commands behind the hotkeys and the tray menu,
// and the hand-over of the cloud keys at start-up. Wired by main; an empty one does nothing.
struct Commands {
    std::function<void()> captureToFile;
    std::function<void()> captureAndCopy;
    // Main window without recognition, translate its text, status "完成自定义翻译".
    std::function<void()> selfTranslate;
    std::function<void()> captureAndTranslate;
    // Tray menu "显示界面": the main window, without recognition and without a new picture.
    std::function<void()> showMainWindow;
    // The keys as loaded from the settings file, in this order.
    std::function<void(TextView translateAppId, TextView translateKey, TextView apiKey, TextView secretKey)>
        setServiceKeys;
};

} // namespace tovrik::app
