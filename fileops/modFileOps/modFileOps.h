// modFileOps: the program's file services as its handlers call them. Paths are Windows paths
// in the ANSI code page; texts are ANSI bytes, moved unchanged. ReadFileText tells the user
// what went wrong in a message box; everything else is the plain services of fileops/.
#pragma once

#include <optional>
#include <string>

#include "fileops/file_services.h"

namespace modFileOps {

// The Windows directory as the system gives it, or "" when it cannot supply one.
using fileops::GetWindowsDir;

// True exactly when the path names something that exists (file or directory).
using fileops::FileExists;

using fileops::TextRoom;

enum class ReadStatus {
    Ok,          // the whole file was read
    NotFound,    // the not-found box was shown; the text is the not-found sentence
    Unreadable,  // the file exists but could not be read; a box named the cause; text is ""
    TooLarge,    // the text box could not hold the text; a box said so; text is ""
};

// The whole file as bytes. A missing file shows the "Error" box and yields
// "File <path> does not exist on system"; an unreadable one, or one whose text does not
// fit the room, shows a box naming the cause and yields "". Throws std::bad_alloc when
// memory runs out, having shown nothing.
std::string ReadFileText(const std::string& path, ReadStatus* status = nullptr,
                         const TextRoom& room = {});

// Replaces the file's content with the text, exactly, in one step: at every instant the
// file holds either its old or its whole new content. Returns the cause of a failure
// (the file is then untouched), or nothing on success. Shows no message itself. Should the
// system fail part-way and keep the old content under another name, that name goes to
// oldContentAt (emptied otherwise).
std::optional<std::string> WriteFileText(const std::string& path, const std::string& text,
                                         std::string* oldContentAt = nullptr);

}  // namespace modFileOps
