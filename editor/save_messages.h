// Wording of the messages that report a save which did not happen.
#pragma once

#include <string>

namespace editor {

// The text holds a character the ANSI code page cannot store.
std::string UnencodableMessage(const std::string& path, char32_t codePoint);

// Writing the file failed; the cause comes from the file services. oldContentAt names where
// the old content is when it is no longer under the file's own name.
std::string WriteFailedMessage(const std::string& path, const std::string& cause,
                               const std::string& oldContentAt = {});

}  // namespace editor
