// Keeps Wine's server and services running while the tests run, so that each test process
// starts in a running Wine, and brings up Wine's desktop, so that no test process starts it
// (and hands it its output, which the test runner would then wait on). Ends by itself after
// an hour should nothing stop it. Usage: keeper READY_FILE, created once the desktop is up.
#include "toolkit/win32/win32_api.h"

int main(int, char** argv) {
    CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    CloseHandle(CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(60 * 60 * 1000);
}
