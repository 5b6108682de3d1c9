#include "editor/save_messages.h"

#include <cstdio>

#include "base/identity/identity.h"

namespace editor {

std::string RefusedTextMessage(const std::string& path, const toolkit::Refusal& refusal) {
    const std::string head = std::string(identity::kAppTitle) + " could not save " + path;
    if (refusal.reason == toolkit::Refusal::Reason::CutAtNul) {
        // A text box that stops at a NUL byte shows only part of such a file.
        return head +
               ": the file contains a NUL character, which the text box cannot hold, so not "
               "all of the file is shown.\r\n\r\nNothing was written; the file was left as "
               "it was.";
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(refusal.character));
    return head + ": the text contains the character " + code +
           ", which this system's character set cannot store.\r\n\r\n"
           "Nothing was written. Remove or replace that character and save again.";
}

std::string WriteFailedMessage(const std::string& path, const std::string& cause,
                               const std::string& oldContentAt) {
    const std::string head =
        std::string(identity::kAppTitle) + " could not save " + path + ": " + cause;
    if (!oldContentAt.empty()) {
        return head +
               "\r\n\r\nThe old content of the file could not be put back under its "
               "own name. It is kept in " +
               oldContentAt + ".";
    }
    return head + "\r\n\r\nThe file was left as it was before.";
}

std::string OutOfMemoryMessage(const std::string& path, const std::string& doing) {
    return std::string(identity::kAppTitle) + " does not have enough memory to " + doing + " " +
           path +
           ".\r\n\r\nNothing was changed: the file and the text box are as they were. "
           "Close other programs to free memory, then try again.";
}

std::string OpenFailedMessage(const std::string& path, const std::string& cause) {
    return std::string(identity::kAppTitle) + " could not open " + path + ": " + cause +
           ".\r\n\r\nNothing was changed: the file and the text box are as they were.";
}

}  // namespace editor
