// Whole-file reading and safe replacing for modFileOps, one implementation per platform:
// read_posix.cpp and replace_posix.cpp (paths through the Wine-style drive emulation) and
// native_file_win32.cpp (the ANSI Win32 file calls).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fileops/modFileOps.h"

namespace fileops {

struct ReadResult {
    bool ok = false;
    std::string bytes;  // the whole file when ok
    std::string cause;  // why it could not be read, when not ok
    // Set when the text would not fit the room it was read for; size is then the file's
    // size, or only what was read of it when the file held more than it reported.
    bool tooLarge = false;
    bool sizeIsAtLeast = false;
    std::uint64_t size = 0;
};

// Reads every byte of the file at the Windows path up to its end, whatever size the file
// system reports, or nothing (all or nothing). Never waits on a pipe or device: only a
// regular file is read. A file whose text cannot fit the room is refused as soon as that
// is known. Throws std::bad_alloc when memory runs out.
ReadResult ReadWholeFile(const std::string& windowsPath, const modFileOps::TextRoom& room = {});

// Replaces the content of the file at the Windows path with bytes so that at every
// instant the file holds either its old or its whole new content: a temporary file in the
// same folder, every write checked, flushed to disk, permissions carried over, then put in
// place in one step. A link is written through. Returns the cause of a failure, the file
// then being untouched and no temporary file left; nothing on success.
std::optional<std::string> ReplaceWholeFile(const std::string& windowsPath, std::string_view bytes);

#ifdef _WIN32
// As above; when a failure leaves the old content under another name than the file's own
// (the system failed part-way and could not put it back), that name goes to oldContentAt,
// which is otherwise emptied.
std::optional<std::string> ReplaceWholeFile(const std::string& windowsPath, std::string_view bytes,
                                            std::string* oldContentAt);
#else
// The same on native paths, below the path translation (exposed for tests).
ReadResult ReadNativeFile(const std::string& nativePath, const modFileOps::TextRoom& room = {});
std::optional<std::string> ReplaceNativeFile(const std::string& nativePath, std::string_view bytes);
#endif

}  // namespace fileops
