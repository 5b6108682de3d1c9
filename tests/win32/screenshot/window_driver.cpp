// Drives the running program's windows from another process, as a user would by mouse, for
// the screenshot script: waits for a window, presses a button by its caption, and tells
// where a window is on the screen.
//
//   window_driver wait TITLE            waits (up to 30 s) until the window is shown
//   window_driver press TITLE CAPTION   presses the button with that caption
//   window_driver rect TITLE            prints the window's left, top, width, height
#include <cstdio>
#include <string>

#include "toolkit/win32/win32_api.h"

namespace {

HWND FindShown(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

int Wait(const char* title) {
    for (int tries = 0; tries < 300; ++tries) {
        if (FindShown(title))
            return 0;
        Sleep(100);
    }
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return 1;
}

int Press(const char* title, const char* caption) {
    HWND window = FindShown(title);
    HWND button = window ? FindWindowExA(window, nullptr, "Button", caption) : nullptr;
    if (!button) {
        std::fprintf(stderr, "no button \"%s\" in \"%s\"\n", caption, title);
        return 1;
    }
    // Posted, not sent: a button that opens a modal window would hold this process until
    // that window closes.
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
}

int Rect(const char* title) {
    HWND window = FindShown(title);
    if (!window)
        return 1;
    RECT frame;
    GetWindowRect(window, &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait" && argc == 3)
        return Wait(argv[2]);
    if (command == "press" && argc == 4)
        return Press(argv[2], argv[3]);
    if (command == "rect" && argc == 3)
        return Rect(argv[2]);
    std::fprintf(stderr, "usage: window_driver wait|press|rect TITLE [CAPTION]\n");
    return 2;
}
