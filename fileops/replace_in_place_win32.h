// The last step of a save on Windows: the finished temporary file takes the place of the
// existing file and, when the system fails part-way, the old file is found and put back.
#pragma once

#include <string>

#include "fileops/win32_api.h"

namespace fileops {

// The file calls of that step. The program uses the system's own; tests swap in calls that
// fail part-way on demand, which no real file system does at will.
struct ReplaceCalls {
    BOOL(WINAPI* replaceFile)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) = &::ReplaceFileA;
    BOOL(WINAPI* moveFileEx)(LPCSTR, LPCSTR, DWORD) = &::MoveFileExA;
    BOOL(WINAPI* deleteFile)(LPCSTR) = &::DeleteFileA;
};
ReplaceCalls& ReplaceCallsInUse();

struct ReplaceOutcome {
    bool ok = false;
    std::string cause;         // when not ok
    std::string oldContentAt;  // when not ok and the old content is not under its own name
};

// The path with its last part as the folder stores it (letter case, long name), so that a
// replace keeps the file's name; the path itself when no such file is found.
std::string WithStoredName(const std::string& path);

// Replaces the existing file `target` by `temp`, which is gone afterwards. On failure the
// old content is back under its own name, or oldContentAt says where it is: no step of the
// way back removes the last copy of it.
ReplaceOutcome PutInPlace(const std::string& target, const std::string& temp,
                          const std::string& folder);

}  // namespace fileops
