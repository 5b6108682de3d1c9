// Keeps one Wine session alive while the tests run, so that each test process starts in a
// running session instead of booting Wine's services anew. Ends by itself after an hour
// should nothing stop it.
#include "toolkit/win32/win32_api.h"

int main() {
    Sleep(60 * 60 * 1000);
    return 0;
}
