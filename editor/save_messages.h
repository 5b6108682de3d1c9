// Wording of the messages that report an open or a save which did not happen.
#pragma once

#include <string>

#include "toolkit/form.h"

namespace editor {

// The text box could not give its text as ANSI bytes, for the reason given.
std::string RefusedTextMessage(const std::string& path, const toolkit::Refusal& refusal);

// Writing the file failed; the cause comes from the file services. oldContentAt names where
// the old content is when it is no longer under the file's own name.
std::string WriteFailedMessage(const std::string& path, const std::string& cause,
                               const std::string& oldContentAt = {});

// Memory ran out while opening or saving ("open", "save"); nothing was changed.
std::string OutOfMemoryMessage(const std::string& path, const std::string& doing);

// The text box could not take the text of a file that was read.
std::string OpenFailedMessage(const std::string& path, const std::string& cause);

}  // namespace editor
