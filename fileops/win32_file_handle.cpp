#include "fileops/win32_file_handle.h"

namespace fileops {

std::string ErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = (n != 0 && text != nullptr) ? std::string(text, n)
                                                  : "Windows error " + std::to_string(code);
    if (text != nullptr)
        LocalFree(text);
    while (!out.empty() &&
           (out.back() == '\r' || out.back() == '\n' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

std::string Cause(DWORD error, const std::string& doing) {
    return ErrorText(error) + " (" + doing + ")";
}

bool OnWindows9x() {
    return (GetVersion() & 0x80000000u) != 0;
}

DWORD ShareAll() {
    return FILE_SHARE_READ | FILE_SHARE_WRITE | (OnWindows9x() ? 0 : FILE_SHARE_DELETE);
}

FARPROC KernelExport(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

}  // namespace fileops
