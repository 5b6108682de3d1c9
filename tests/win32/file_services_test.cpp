// What only the Windows build does, on real files of the scratch drive's folder Save.
#include "fileops/file_services.h"
#include "fileops/replace_in_place_win32.h"
#include "tests/fileops/scratch_drive.h"

namespace {

using testsupport::ReadBytes;
const std::string kSave = "D:\\Save\\";

void Remove(const std::string& path) {  // read-only or not
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Saved under the name the file is stored by, with its attributes; refused, and the file left
// whole, when it is read-only or held open (which makes it unreadable too).
TEST_F(ScratchDrive, KeepsTheStoredNameAndAttributesOrLeavesTheFileUntouched) {
    const struct {
        const char *stored, *asked;
        DWORD attributes;
        bool held, saved;
    } cases[] = {
        {"win.ini", "WIN.INI", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false, true},
        {"Hosts", "Hosts", FILE_ATTRIBUTE_READONLY, false, false},
        {"Hosts", "Hosts", FILE_ATTRIBUTE_HIDDEN, true, false},
    };
    const std::string old(1000, 'o'), saved = "REM saved\r\n";
    for (const auto& c : cases) {
        const std::string path = kSave + c.stored;
        testsupport::WriteBytes(path, old);
        SetFileAttributesA(path.c_str(), c.attributes);
        HANDLE held = c.held ? CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE;
        EXPECT_EQ(fileops::ReplaceWholeFile(kSave + c.asked, saved).has_value(), !c.saved);
        const fileops::ReadResult read = fileops::ReadWholeFile(path);
        EXPECT_EQ(read.ok, !c.held) << c.stored << ": " << read.cause;
        CloseHandle(held);
        EXPECT_EQ(ListDir(At("Save")), Names{c.stored});
        EXPECT_EQ(ReadBytes(path), c.saved ? saved : old);
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & c.attributes, c.attributes);
        Remove(path);
    }
}

// The steps of a replace failing in turn: what ReplaceFileA may do before it fails, and,
// without it (Windows 98 and Me), each rename and the final delete.
struct Failure {
    const char* what;
    DWORD replaceError;  // ReplaceFileA's error; 0: by renames (no ReplaceFileA)
    bool oldMovedAside;  // ReplaceFileA moved the old file to the backup before failing
    int failingMove;     // by renames: 1 the old file aside, 2 the new one in
    bool noWayBack;      // putting the old file back fails too
    bool backupStays;    // by renames: deleting the old file at the end fails
};
Failure failure;
int moves = 0;
std::string firstAside;

BOOL WINAPI FailingReplace(LPCSTR replaced, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
    firstAside = backup;
    if (failure.oldMovedAside)
        MoveFileA(replaced, backup);
    SetLastError(failure.replaceError);
    return FALSE;
}
BOOL WINAPI FailingMoveEx(LPCSTR from, LPCSTR to, DWORD flags) {
    SetLastError(ERROR_ACCESS_DENIED);
    return failure.noWayBack ? FALSE : MoveFileExA(from, to, flags);
}
BOOL WINAPI FailingMove(LPCSTR from, LPCSTR to) {
    if (++moves == 1)
        firstAside = to;
    SetLastError(ERROR_ACCESS_DENIED);
    const bool fails = moves == failure.failingMove || (failure.noWayBack && moves > 1);
    return fails ? FALSE : MoveFileA(from, to);
}
BOOL WINAPI DeleteAllButTheOld(LPCSTR path) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return failure.backupStays && path == firstAside ? FALSE : DeleteFileA(path);
}

TEST_F(ScratchDrive, AReplaceFailingPartWayNeverLosesTheOldContentAndSaysWhereItIs) {
    const Failure cases[] = {
        {"names kept", ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, 0, false, false},
        {"old not removed", ERROR_UNABLE_TO_REMOVE_REPLACED, false, 0, false, false},
        {"old moved aside", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, 0, false, false},
        {"aside despite the code", ERROR_UNABLE_TO_MOVE_REPLACEMENT, true, 0, false, false},
        {"aside, no way back", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, 0, true, false},
        {"old aside by rename", 0, false, 1, false, false},
        {"new in by rename", 0, false, 2, false, false},
        {"new in, then old back", 0, false, 2, true, false},
        {"deleting the old at the end", 0, false, 0, false, true},
    };
    const std::string path = kSave + "System.ini", old = "[boot]\r\nshell=Explorer.exe\r\n";
    fileops::ReplaceCalls& calls = fileops::ReplaceCallsInUse();
    const fileops::ReplaceCalls real = calls;
    for (const Failure& step : cases) {
        SCOPED_TRACE(step.what);
        if (step.replaceError != 0 && (GetVersion() & 0x80000000u) != 0)
            continue;  // Windows 98 and Me have no ReplaceFileA
        failure = step, moves = 0, firstAside.clear();
        calls = real;
        calls.replaceFile = step.replaceError == 0 ? nullptr : FailingReplace;
        calls.moveFileEx = FailingMoveEx;
        calls.moveFile = FailingMove;
        calls.deleteFile = DeleteAllButTheOld;
        testsupport::WriteBytes(path, old);
        std::string oldContentAt = "stale";
        const auto cause = fileops::ReplaceWholeFile(path, "[boot]\r\nchanged\r\n", &oldContentAt);
        calls = real;
        Names left = ListDir(At("Save"));
        EXPECT_EQ(cause.has_value(), !step.backupStays);
        if (step.backupStays)
            EXPECT_EQ(ReadBytes(path), "[boot]\r\nchanged\r\n");
        else
            EXPECT_EQ(oldContentAt, step.noWayBack ? firstAside : "");
        if (!step.backupStays && !step.noWayBack) {
            EXPECT_EQ(ReadBytes(path), old);
            EXPECT_EQ(left, Names{"System.ini"});
        }
        if (step.backupStays || step.noWayBack) {  // the old content whole, under one name
            left.erase(std::remove(left.begin(), left.end(), "System.ini"), left.end());
            EXPECT_EQ(ReadBytes(firstAside), old);
            ASSERT_EQ(left.size(), 1u);
            EXPECT_EQ(kSave + left[0], firstAside);
            Remove(firstAside);
        }
        Remove(path);
    }
}

}  // namespace
