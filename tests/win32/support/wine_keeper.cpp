// Keeps Wine's server and services running while the tests run, so that each test process
// starts in a running Wine instead of booting its services anew. It also brings up Wine's
// desktop, so that no test process becomes the one that starts it (and hands it its own
// output, which a test runner would then wait on). Ends by itself after an hour should
// nothing stop it.
#include "toolkit/win32/win32_api.h"

// Usage: keeper READY_FILE. The file is created once the desktop is up.
int main(int argc, char** argv) {
    GetDesktopWindow();
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (argc > 1) {
        HANDLE ready = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
    }
    Sleep(60 * 60 * 1000);
    if (window)
        DestroyWindow(window);
    return 0;
}
