// The two Win32 calls of the file services, supplied off Windows with the contracts of kernel32's
// GetWindowsDirectoryA and shlwapi's PathFileExistsA, on top of the Wine-style drive
// emulation of wine_drive.h. Plain types stand for the Win32 ones (UINT = unsigned int,
// BOOL = int); <windows.h> is never included. On Windows the real calls are used instead
// (see win32_calls.h).
#pragma once

#ifndef _WIN32

// Writes the Windows directory ("C:\" and the stored name of the windows folder at the
// root of C:) as a NUL-terminated ANSI string into buffer and returns its length without
// the NUL. When buffer cannot hold it (size too small), writes nothing and returns the
// size needed including the NUL. Returns 0 when there is no Windows directory: no Wine
// prefix, no drive C:, or no folder named "windows" (in any letter case) at its root.
unsigned int GetWindowsDirectoryA(char* buffer, unsigned int size);

// 1 when the ANSI path names an existing file or folder, 0 otherwise (also for a null
// path). Follows Wine: the path is completed and normalised as Windows does
// (RtlGetFullPathName) and then looked up name by name, exact name first and otherwise
// regardless of letter case; only regular files and folders count, and DOS device names
// (NUL, CON ...) in an existing folder, as in Wine.
int PathFileExistsA(const char* path);

#endif
