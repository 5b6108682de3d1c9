// The file services: the Windows directory, existence, whole-file reading and safe
// replacing, on Windows paths in the ANSI code page; texts are ANSI bytes, moved unchanged.
// Plain C++ that shows nothing: the message boxes are modFileOps' (modFileOps/).
// Reading and replacing have one implementation per platform: read_posix.cpp and
// replace_posix.cpp (paths through the Wine-style drive emulation) and
// native_file_win32.cpp (the ANSI Win32 file calls).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fileops {

// The Windows directory as the system gives it, or "" when it cannot supply one.
std::string GetWindowsDir();

// True exactly when the path names something that exists (file or directory).
bool FileExists(const std::string& path);

// The room in the text box that will show a text: the most it holds and what a piece of
// text takes of it. The measure adds up over pieces and counts at least one and at most
// three per byte; without one, a byte takes one.
struct TextRoom {
    std::uint64_t capacity = UINT64_MAX;
    std::function<std::uint64_t(std::string_view)> measure;

    std::uint64_t Measure(std::string_view piece) const {
        return measure ? measure(piece) : piece.size();
    }
};

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
ReadResult ReadWholeFile(const std::string& windowsPath, const TextRoom& room = {});

// Replaces the content of the file at the Windows path with bytes so that at every
// instant the file holds either its old or its whole new content: a temporary file in the
// same folder, every write checked, flushed to disk, permissions carried over, then put in
// place in one step. A link is written through. Returns the cause of a failure, the file
// then being untouched and no temporary file left; nothing on success. Should the system
// fail part-way and keep the old content under another name than the file's own (only
// Windows 98 and Me replace in steps), that name goes to oldContentAt, emptied otherwise.
std::optional<std::string> ReplaceWholeFile(const std::string& windowsPath, std::string_view bytes,
                                            std::string* oldContentAt = nullptr);

#ifndef _WIN32
// The same on native paths, below the path translation (exposed for tests).
ReadResult ReadNativeFile(const std::string& nativePath, const TextRoom& room = {});
std::optional<std::string> ReplaceNativeFile(const std::string& nativePath, std::string_view bytes);
#endif

}  // namespace fileops
