// The Win32 calls that modFileOps stands on: the real ones on Windows, the emulation of
// win32_emulation.h elsewhere. Only .cpp files of fileops include this header.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shlwapi.h>
#define CM_WINAPI WINAPI
#else
#include "fileops/win32_emulation.h"
#define CM_WINAPI
#endif

namespace modFileOps::detail {

// The signature of GetWindowsDirectoryA, so that the logic of GetWindowsDir can be run
// against a stand-in call in tests.
using GetWindowsDirectoryFn = unsigned int(CM_WINAPI*)(char* buffer, unsigned int size);

}  // namespace modFileOps::detail
