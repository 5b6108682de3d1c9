// The Windows directory and existence, on the real Win32 calls on Windows and on their
// Wine-style emulation elsewhere (win32_calls.h).
#include "fileops/file_services.h"

#include "fileops/detail.h"
#include "fileops/win32_calls.h"

namespace fileops {

namespace detail {

std::string GetWindowsDirFrom(GetWindowsDirectoryFn call) {
    // A buffer of 260 NUL characters, made anew on every call.
    std::string buffer(260, '\0');
    const unsigned int count = call(buffer.data(), 260);
    // The count only tells success from failure; it is not used as a length.
    if (count == 0)
        return std::string();
    return buffer.substr(0, buffer.find('\0'));
}

bool FileExistsFrom(PathFileExistsFn call, const std::string& path) {
    // Exactly 1 means "exists"; 0 and every other answer mean it does not.
    return call(path.c_str()) == 1;
}

}  // namespace detail

std::string GetWindowsDir() {
    return detail::GetWindowsDirFrom(&::GetWindowsDirectoryA);
}

bool FileExists(const std::string& path) {
    return detail::FileExistsFrom(&::PathFileExistsA, path);
}

}  // namespace fileops
