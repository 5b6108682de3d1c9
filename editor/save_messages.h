// Wording of the messages that report an open or a save which did not happen.
#pragma once

#include <string>

namespace editor {

// The text holds a character the ANSI code page cannot store.
std::string UnencodableMessage(const std::string& path, char32_t codePoint);

// Writing the file failed; the cause comes from the file services. oldContentAt names where
// the old content is when it is no longer under the file's own name.
std::string WriteFailedMessage(const std::string& path, const std::string& cause,
                               const std::string& oldContentAt = {});

// Memory ran out while opening or saving ("open", "save"); nothing was changed.
std::string OutOfMemoryMessage(const std::string& path, const std::string& doing);

// The text box could not take the text of a file that was read.
std::string OpenFailedMessage(const std::string& path, const std::string& cause);

}  // namespace editor
