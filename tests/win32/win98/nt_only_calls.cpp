#include <windows.h>

int main(int argc, char** argv) {
    LARGE_INTEGER size;
    char final[MAX_PATH];
    return argc < 3 ? 0
                    : GetFileSizeEx(nullptr, &size) + MoveFileExA(argv[1], argv[2], 0) +
                          ReplaceFileA(argv[1], argv[2], nullptr, 0, nullptr, nullptr) +
                          static_cast<int>(GetFinalPathNameByHandleA(nullptr, final, MAX_PATH, 0));
}
