// Small pieces shared by the Win32 file services: handles that close themselves and the
// system's own words for an error.
#pragma once

#include <string>

#include "fileops/win32_api.h"

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

}  // namespace fileops
