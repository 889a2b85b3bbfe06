#include "app/Autostart.h"

#include "files/Files.h"

namespace tovrik::app {

namespace {

// The Exec key takes a command line: the path goes in double quotes, with the characters
// " ` $ and the backslash escaped by a backslash and "%" doubled (field codes); the general
// string escapes apply on top, which doubles every backslash again.
Text QuoteExecArgument(TextView path) {
    Text quoted = "\"";
    for (const char c : path) {
        switch (c) {
        case '"':
        case '`':
        case '$':
            quoted += "\\\\";
            quoted += c;
            break;
        case '\\':
            quoted += "\\\\\\\\";
            break;
        case '%':
            quoted += "%%";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

} // namespace

Text ExecutablePath() {
    // The process's own path: guessing drive letters from volume numbers gives wrong paths.
    Text path = files::ExecutablePath();
    return path.empty() ? Text("-") : path;
}

void SetAutostart(AutostartStore& store, bool on) {
    if (on) {
        const Text path = ExecutablePath();
        // An entry that names no program would fail at every logon, silently.
        if (path != "-") {
            static_cast<void>(store.SetEntry(kAutostartName, path));
        }
    } else {
        static_cast<void>(store.RemoveEntry(kAutostartName));
    }
}

bool AutostartEnabled(const AutostartStore& store) {
    return store.HasEntry(kAutostartName);
}

Text DesktopEntryText(TextView executablePath) {
    Text text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + Text(kAutostartName) + "\n";
    text += "Exec=" + QuoteExecArgument(executablePath) + "\n";
    text += "Terminal=false\nX-GNOME-Autostart-enabled=true\n";
    return text;
}

} // namespace tovrik::app
