// Pieces of modFileOps exposed for tests only; the program uses modFileOps.h.
#pragma once

#include <string>

#include "fileops/win32_api.h"

namespace modFileOps::detail {

// The algorithm of GetWindowsDir (Part 2.1) run against the given directory call: a
// 260-NUL buffer made anew, the call with size 260, the count tested only for 0, the
// result being the characters before the first NUL.
std::string GetWindowsDirFrom(GetWindowsDirectoryFn call);

}  // namespace modFileOps::detail
