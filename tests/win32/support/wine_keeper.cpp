// Keeps Wine and its desktop up while the tests run, so that no test process starts them (and
// hands them its output, which ctest would wait on); ends after an hour should nothing stop it.
// Usage: keeper READY_FILE, created once the desktop is up.
#include "toolkit/win32/win32_api.h"

int main(int, char** argv) {
    CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    CloseHandle(CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(60 * 60 * 1000);
}
