// How a file button's caption names its file, and where that file is looked for.
#pragma once

#include <string>

namespace editor {

// The caption without its leading and trailing spaces; "Protocols" names the file "Protocol".
std::string FileNameFromCaption(const std::string& caption);

// The Windows directory, a backslash, the file name. Asks for the directory at each call.
std::string BuildWindowsDirPath(const std::string& fileName);

// The first three characters of the Windows directory (its drive's root), then the file name.
std::string BuildDriveRootPath(const std::string& fileName);

// Leading and trailing U+0020 removed; tabs and line ends stay. A text moved in is trimmed
// in place, without a copy of a whole document.
std::string TrimSpaces(std::string text);

}  // namespace editor
