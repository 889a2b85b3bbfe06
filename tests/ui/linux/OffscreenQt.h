#pragma once

#include "text/Encoding.h"
#include "text/Types.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

// One QApplication for a test executable, on Qt's offscreen platform: the Linux backend's
// widgets work without an X server, so their behaviour is tested headless.
// Qt's font database keeps fontconfig's patterns until the process ends, which LeakSanitizer
// reports as leaks of the test. Read by sanitizer builds only.
extern "C" inline __attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace tovrik::testing {

inline QApplication& OffscreenApplication() {
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        auto* created = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return created;
    }();
    return *application;
}

// Program text from a UTF-8 literal: files that include Qt's object headers are compiled with
// UTF-8 literals (see tests/e2e/linux/CMakeLists.txt).
inline Text T(std::string_view utf8) {
    return text::Utf8ToText(utf8);
}

// Lets queued events (posted hotkeys, deferred deletes) run.
inline void ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Lets events run until the condition holds or the time is up: a window-state change reaches
// the core only once Qt has settled it, which takes longer in sanitizer builds.
template <typename Condition> inline bool ProcessEventsUntil(Condition condition, int timeoutMs = 2000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        ProcessEvents();
        QThread::msleep(5);
    }
    return true;
}

} // namespace tovrik::testing
