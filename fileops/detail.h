// Pieces of the file services exposed for tests only; the program uses file_services.h.
#pragma once

#include <string>

#include "fileops/win32_calls.h"

namespace fileops::detail {

// The algorithm of GetWindowsDir run against the given directory call: a
// 260-NUL buffer made anew, the call with size 260, the count tested only for 0, the
// result being the characters before the first NUL.
std::string GetWindowsDirFrom(GetWindowsDirectoryFn call);

// The test of FileExists on the answer of the given existence call: true only
// when it answers exactly 1.
bool FileExistsFrom(PathFileExistsFn call, const std::string& path);

}  // namespace fileops::detail
