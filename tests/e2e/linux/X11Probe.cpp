// A small X client for the end-to-end test and the overlay benchmark:
//   tovrik-x11-probe grab <modifiers> <key>   exit 0 when this client can grab the key
//                                             combination on the root window, 3 when another
//                                             client holds it (BadAccess)
//   tovrik-x11-probe hold <modifiers> <key> <seconds>
//                                             holds the grab for that long (a program that
//                                             took the hotkey first); exit 3 when refused
//   tovrik-x11-probe bench <runs> <x1> <y1> <x2> <y2> [command ...]
//                                             times how long it takes from a trigger until
//                                             the root window's pixels at both points change
//                                             (an overlay has been painted over both
//                                             monitors), then ends the overlay with ESC and
//                                             waits for the pixels to come back. The trigger
//                                             is Ctrl+F8 sent through XTEST, or, when a
//                                             command is given, starting that command.
// Modifiers are "ctrl", "alt", "shift" joined by "+", or "none"; keys are X key names (F8).
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

bool g_failed = false;

int OnError(Display*, XErrorEvent* error) {
    g_failed = g_failed || error->error_code != 0;
    return 0;
}

unsigned ModifierMask(const std::string& text) {
    unsigned mask = 0;
    mask |= text.find("ctrl") != std::string::npos ? ControlMask : 0;
    mask |= text.find("alt") != std::string::npos ? Mod1Mask : 0;
    mask |= text.find("shift") != std::string::npos ? ShiftMask : 0;
    return mask;
}

int Grab(Display* display, const std::string& modifiers, const char* key, int holdSeconds) {
    const KeyCode keycode = XKeysymToKeycode(display, XStringToKeysym(key));
    if (keycode == 0) {
        std::fprintf(stderr, "unknown key %s\n", key);
        return 2;
    }
    XSetErrorHandler(&OnError);
    XGrabKey(display, keycode, ModifierMask(modifiers), DefaultRootWindow(display), True, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    const bool taken = g_failed;
    std::printf("%s\n", taken ? "taken" : "free");
    std::fflush(stdout);
    if (!taken && holdSeconds > 0) {
        std::this_thread::sleep_for(std::chrono::seconds(holdSeconds));
    }
    XUngrabKey(display, keycode, ModifierMask(modifiers), DefaultRootWindow(display));
    XSync(display, False);
    return taken ? 3 : 0;
}

unsigned long Pixel(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

void Key(Display* display, const char* name, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XStringToKeysym(name)), down ? True : False, 0);
}

void SendHotkey(Display* display) {
    Key(display, "Control_L", true);
    Key(display, "F8", true);
    Key(display, "F8", false);
    Key(display, "Control_L", false);
    XFlush(display);
}

void SendEscape(Display* display) {
    Key(display, "Escape", true);
    Key(display, "Escape", false);
    XFlush(display);
}

pid_t Start(char** command) {
    pid_t pid = 0;
    if (posix_spawnp(&pid, command[0], nullptr, nullptr, command, environ) != 0) {
        return -1;
    }
    return pid;
}

// Waits until both points differ from (changed) or equal (!changed) the reference pixels.
bool WaitFor(Display* display, const int points[4], const unsigned long reference[2], bool changed,
             std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        const bool first = (Pixel(display, points[0], points[1]) != reference[0]) == changed;
        const bool second = (Pixel(display, points[2], points[3]) != reference[1]) == changed;
        if (first && second) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    return false;
}

int Bench(Display* display, int runs, const int points[4], char** command) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const unsigned long reference[2] = {Pixel(display, points[0], points[1]), Pixel(display, points[2], points[3])};
        const auto start = Clock::now();
        pid_t child = 0;
        if (command != nullptr) {
            child = Start(command);
        } else {
            SendHotkey(display);
        }
        const bool painted = WaitFor(display, points, reference, true, std::chrono::seconds(5));
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!painted) {
            std::printf("run %d: no overlay within 5 s\n", run + 1);
            return 1;
        }
        times.push_back(ms);
        std::printf("run %d: %.1f ms\n", run + 1, ms);
        std::fflush(stdout);
        // Let the overlay settle before it is ended, as a user would.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        SendEscape(display);
        if (!WaitFor(display, points, reference, false, std::chrono::seconds(5))) {
            std::printf("run %d: the overlay did not go away\n", run + 1);
            return 1;
        }
        if (child > 0) {
            int status = 0;
            waitpid(child, &status, 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    std::sort(times.begin(), times.end());
    const double median =
        times.size() % 2 == 1 ? times[times.size() / 2] : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("median %.1f ms min %.1f ms max %.1f ms\n", median, times.front(), times.back());
    return 0;
}

// What a window manager sends when the user clicks a window's close box.
int CloseBox(Display* display, const char* windowId) {
    const Window window = std::strtoul(windowId, nullptr, 0);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: %s grab <modifiers> <key> | close <window> | bench <runs> <x1> <y1> <x2> <y2> [command...]\n",
            argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    int result = 2;
    const std::string mode = argv[1];
    if (mode == "grab" && argc == 4) {
        result = Grab(display, argv[2], argv[3], 0);
    } else if (mode == "hold" && argc == 5) {
        result = Grab(display, argv[2], argv[3], std::atoi(argv[4]));
    } else if (mode == "close" && argc == 3) {
        result = CloseBox(display, argv[2]);
    } else if (mode == "bench" && argc >= 7) {
        const int points[4] = {std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])};
        result = Bench(display, std::atoi(argv[2]), points, argc > 7 ? argv + 7 : nullptr);
    } else {
        std::fprintf(stderr, "bad arguments\n");
    }
    XCloseDisplay(display);
    return result;
}
