// The Win32 calls that the file services stand on: the real ones on Windows, the emulation of
// win32_emulation.h elsewhere. Only fileops and its tests include this header.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <shlwapi.h>
#include <windows.h>
#define CM_WINAPI WINAPI
#else
#include "fileops/win32_emulation.h"
#define CM_WINAPI
#endif

namespace fileops::detail {

// The signatures of the two calls, so that the logic of GetWindowsDir and FileExists can be
// run against stand-in calls in tests.
// The signature of GetWindowsDirectoryA.
using GetWindowsDirectoryFn = unsigned int(CM_WINAPI*)(char* buffer, unsigned int size);
// The signature of PathFileExistsA (BOOL, a 32-bit int).
using PathFileExistsFn = int(CM_WINAPI*)(const char* path);

}  // namespace fileops::detail
