// Windows 95, 98 and Me run the same executable as the NT family, but their "W" calls are
// mostly stubs that fail: there the backend takes ANSI windows and the ANSI message loop.
#pragma once

#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

inline bool OnWindows9x() {
    return (GetVersion() & 0x80000000u) != 0;
}

}  // namespace toolkit::win32
