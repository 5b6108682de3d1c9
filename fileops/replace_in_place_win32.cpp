#include "fileops/replace_in_place_win32.h"

#include <optional>

#include "fileops/win32_file_handle.h"

namespace fileops {
namespace {

// A file as the volume knows it, whatever its name: a rename keeps it, a copy does not.
struct FileIdentity {
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    Handle h(CreateFileA(path.c_str(), 0, ShareAll(), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!h.Valid() || !GetFileInformationByHandle(h.Get(), &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

ReplaceCalls& ReplaceCallsInUse() {
    static ReplaceCalls calls = [] {
        ReplaceCalls found;
        if (!OnWindows9x()) {
            found.replaceFile = KernelCall<decltype(found.replaceFile)>("ReplaceFileA");
            found.moveFileEx = KernelCall<decltype(found.moveFileEx)>("MoveFileExA");
        }
        return found;
    }();
    return calls;
}

bool MoveToFreeName(const std::string& from, const std::string& to) {
    const ReplaceCalls& calls = ReplaceCallsInUse();
    if (calls.moveFileEx && !OnWindows9x())
        return calls.moveFileEx(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    return calls.moveFile(from.c_str(), to.c_str()) != FALSE;
}

std::string WithStoredName(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos)
        return path;  // a pattern, not a name
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return path;
    FindClose(search);
    const auto sep = path.find_last_of("\\/");
    return (sep == std::string::npos ? std::string() : path.substr(0, sep + 1)) + found.cFileName;
}

ReplaceOutcome PutInPlace(const std::string& target, const std::string& temp,
                          const std::string& folder, DWORD attributes) {
    const ReplaceCalls& calls = ReplaceCallsInUse();
    ReplaceOutcome outcome;
    // With a backup name the old file is moved aside rather than deleted, so that a failure
    // part-way leaves it under one of the two names.
    char backup[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "cmb", 0, backup) == 0) {
        outcome.cause =
            Cause(GetLastError(), "creating a temporary file in the folder of the file");
        calls.deleteFile(temp.c_str());
        return outcome;
    }
    calls.deleteFile(backup);
    if (OnWindows9x() || !calls.replaceFile)
        return PutInPlaceByRenames(target, temp, backup, attributes);

    const std::optional<FileIdentity> old = IdentityOf(target);
    if (!old) {
        outcome.cause = Cause(GetLastError(), "examining the file");
        calls.deleteFile(temp.c_str());
        return outcome;
    }
    // ReplaceFileA keeps the replaced file's attributes, security and identity.
    if (calls.replaceFile(target.c_str(), temp.c_str(), backup, REPLACEFILE_IGNORE_MERGE_ERRORS,
                          nullptr, nullptr)) {
        calls.deleteFile(backup);
        outcome.ok = true;
        return outcome;
    }
    outcome.cause = Cause(GetLastError(), "putting the new file in place");

    // Where the old file is now is checked, not inferred from the error code.
    if (IdentityOf(target) != old) {
        if (IdentityOf(backup) != old) {
            // Found under neither name: nothing is removed that might hold it.
            outcome.oldContentAt = std::string(backup) + " or " + temp;
            return outcome;
        }
        DWORD error = ERROR_ALREADY_EXISTS;  // another file has taken the name meanwhile
        if (!Exists(target)) {
            error = MoveToFreeName(backup, target) ? ERROR_SUCCESS : GetLastError();
        }
        if (error != ERROR_SUCCESS) {
            outcome.cause += "; " + Cause(error, "putting the old file back");
            outcome.oldContentAt = backup;
            calls.deleteFile(temp.c_str());
            return outcome;
        }
    }
    // The old file is under its own name: what the other names hold is not needed.
    if (Exists(backup))
        calls.deleteFile(backup);
    calls.deleteFile(temp.c_str());
    return outcome;
}

}  // namespace fileops
