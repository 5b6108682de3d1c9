// Imports the calls that the file services once made and that Windows 98 lacks or only
// pretends to have: the import check must refuse this program.
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 3)
        return 0;
    LARGE_INTEGER size;
    char final[MAX_PATH];
    return GetFileSizeEx(nullptr, &size) +
           ReplaceFileA(argv[1], argv[2], nullptr, 0, nullptr, nullptr) +
           MoveFileExA(argv[1], argv[2], 0) +
           static_cast<int>(GetFinalPathNameByHandleA(nullptr, final, MAX_PATH, 0));
}
