// GetWindowsDirectoryA and PathFileExistsA off Windows; see win32_emulation.h.
#include "fileops/win32_emulation.h"

#include <sys/stat.h>

#include <cstring>

#include "fileops/wine_drive.h"

unsigned int GetWindowsDirectoryA(char* buffer, unsigned int size) {
    const auto dir = fileops::WindowsDirectory();
    if (!dir)
        return 0;
    const auto length = static_cast<unsigned int>(dir->size());
    if (buffer == nullptr || size < length + 1)
        return length + 1;
    std::memcpy(buffer, dir->data(), length);
    buffer[length] = '\0';
    return length;
}

int PathFileExistsA(const char* path) {
    if (path == nullptr)
        return 0;
    const auto found = fileops::Resolve(path, fileops::Purpose::Existing);
    // As in Wine, a DOS device name in an existing folder exists.
    if (found.outcome == fileops::Resolution::Outcome::Device)
        return 1;
    if (found.outcome != fileops::Resolution::Outcome::Found)
        return 0;
    // As in Wine (NtQueryAttributesFile): only regular files and folders have attributes.
    struct stat st;
    if (::stat(found.native.c_str(), &st) != 0)
        return 0;
    return (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) ? 1 : 0;
}
