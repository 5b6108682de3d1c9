// Replacing a file where the system has no ReplaceFileA and MoveFileExA cannot overwrite
// (Windows 98 and Me): the old file is renamed aside, the new one renamed into its place,
// and the old one deleted last. At every step one of the two names holds a whole copy of
// the old content and the user is told which.
#include "fileops/replace_in_place_win32.h"
#include "fileops/win32_file_handle.h"

namespace fileops {

ReplaceOutcome PutInPlaceByRenames(const std::string& target, const std::string& temp,
                                   const std::string& backup, DWORD attributes) {
    const ReplaceCalls& calls = ReplaceCallsInUse();
    ReplaceOutcome outcome;
    auto failBeforeMoving = [&](const std::string& doing) {
        outcome.cause = Cause(GetLastError(), doing);
        calls.deleteFile(temp.c_str());
        return outcome;
    };
    // Set on the new file before it moves: a rename keeps them, and a failure here still
    // leaves the old file where it was.
    const DWORD kept = attributes & kKeptAttributes;
    if (!SetFileAttributesA(temp.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL))
        return failBeforeMoving("giving the new file the attributes of the old one");
    if (!calls.moveFile(target.c_str(), backup.c_str()))
        return failBeforeMoving("moving the old file aside");

    if (!calls.moveFile(temp.c_str(), target.c_str())) {
        outcome.cause = Cause(GetLastError(), "putting the new file in place");
        // Another file may have taken the name meanwhile: it is not overwritten.
        const bool nameFree = GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES;
        if (!nameFree || !calls.moveFile(backup.c_str(), target.c_str())) {
            const DWORD error = nameFree ? GetLastError() : ERROR_ALREADY_EXISTS;
            outcome.cause += "; " + Cause(error, "putting the old file back");
            outcome.oldContentAt = backup;
        }
        calls.deleteFile(temp.c_str());
        return outcome;
    }
    // The new content is in place; a backup that cannot be deleted (another program has it
    // open) is only a spare copy of the old content, not a failed save.
    calls.deleteFile(backup.c_str());
    outcome.ok = true;
    return outcome;
}

}  // namespace fileops
