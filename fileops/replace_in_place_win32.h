// The last step of a save on Windows: the finished temporary file takes the place of the
// existing file and, when the system fails part-way, the old file is found and put back.
#pragma once

#include <string>

#include "fileops/win32_calls.h"

namespace fileops {

// The file calls of that step. The program uses the system's own; tests swap in calls that
// fail part-way on demand, which no real file system does at will. ReplaceFileA and
// MoveFileExA are looked up at run time: Windows 98 and Me lack the one and only pretend to
// have the other, and are left with MoveFileA.
struct ReplaceCalls {
    BOOL(WINAPI* replaceFile)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) = nullptr;
    BOOL(WINAPI* moveFileEx)(LPCSTR, LPCSTR, DWORD) = nullptr;
    BOOL(WINAPI* moveFile)(LPCSTR, LPCSTR) = &::MoveFileA;
    BOOL(WINAPI* deleteFile)(LPCSTR) = &::DeleteFileA;
};
ReplaceCalls& ReplaceCallsInUse();

// Moves a file to a name that is free, through to the disk where the system can.
bool MoveToFreeName(const std::string& from, const std::string& to);

struct ReplaceOutcome {
    bool ok = false;
    std::string cause;         // when not ok
    std::string oldContentAt;  // when not ok and the old content is not under its own name
};

// The path with its last part as the folder stores it (letter case, long name), so that a
// replace keeps the file's name; the path itself when no such file is found.
std::string WithStoredName(const std::string& path);

// Replaces the existing file `target` by `temp`, which is gone afterwards; the file keeps
// the attributes among kKeptAttributes that `attributes` has. On failure the old content is
// back under its own name, or oldContentAt says where it is: no step of the way back
// removes the last copy of it.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
ReplaceOutcome PutInPlace(const std::string& target, const std::string& temp,
                          const std::string& folder, DWORD attributes);

// The same with renames only, for systems without ReplaceFileA (Windows 98 and Me).
ReplaceOutcome PutInPlaceByRenames(const std::string& target, const std::string& temp,
                                   const std::string& backup, DWORD attributes);

}  // namespace fileops
