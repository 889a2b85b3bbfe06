#include "app/Restart.h"

#include "app/Autostart.h"
#include "files/Files.h"

#include <string>

namespace tovrik::app {

int RestartWaitCount(std::optional<int> waitCount) {
    return waitCount && *waitCount >= 1 ? *waitCount : 2;
}

Text RestartBatchText(TextView shortPath, int waitCount) {
    Text text = "@echo off \r\n";
    text += "@ping 127.0.0.1 -n ";
    text += std::to_string(waitCount);
    text += " >nul\r\n";
    text += "start \"\" \"" + Text(shortPath) + "\"\r\n";
    text += "del " + Text(kRestartScriptName);
    return text;
}

void Restart(ProcessControl& process, TextView programDirectory, std::optional<int> waitCount) {
    const int wait = RestartWaitCount(waitCount);
    const Text executable = ExecutablePath();
    if (!files::FileExists(executable)) {
        return;
    }
    // Ending without a successor would take the program away instead of restarting it.
    if (!process.Relaunch(programDirectory, executable, wait)) {
        return;
    }
    process.Exit(0);
}

} // namespace tovrik::app
