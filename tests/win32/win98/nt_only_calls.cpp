#include <windows.h>

// Calls the file services once made, which Windows 98 lacks.
int main(int, char** argv) {
    LARGE_INTEGER size;
    return GetFileSizeEx(nullptr, &size) + MoveFileExA(argv[1], argv[2], 0) +
           ReplaceFileA(argv[1], argv[2], nullptr, 0, nullptr, nullptr) +
           static_cast<int>(GetFinalPathNameByHandleA(nullptr, argv[1], MAX_PATH, 0));
}
