// Small pieces shared by the Win32 file services: handles that close themselves, the
// system's own words for an error, and what differs between the NT and the 9x family.
#pragma once

#include <string>

#include "fileops/win32_calls.h"

namespace fileops {

class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE Get() const { return h_; }
    bool Close() {
        if (!Valid())
            return true;
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE h_;
};

// The system's text for an error code, without the final full stop and line end.
std::string ErrorText(DWORD code);

// A failure as the save command shows it: the system's words first, then what was being
// done ("No space left on device (writing the new content)").
std::string Cause(DWORD error, const std::string& doing);

// Windows 95, 98 or Me (GetVersion's high bit): no ReplaceFile, no working MoveFileEx, no
// FILE_SHARE_DELETE, and a text box of at most kWin9xTextBoxLimit bytes.
bool OnWindows9x();
constexpr DWORD kWin9xTextBoxLimit = 65535;

// Sharing that lets others read, write and (where the system can) delete meanwhile.
DWORD ShareAll();

// A kernel32 call that older systems lack, looked up at run time so that the program
// still loads there; nullptr where it is missing.
FARPROC KernelExport(const char* name);
template <class Call>
Call KernelCall(const char* name) {
    // Through void(*)(), the type that converts to any function pointer without a warning.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(KernelExport(name)));
}

}  // namespace fileops
