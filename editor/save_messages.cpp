#include "editor/save_messages.h"

#include <cstdio>

#include "app/identity.h"

namespace editor {

std::string UnencodableMessage(const std::string& path, char32_t codePoint) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    return std::string(identity::kAppTitle) + " could not save " + path +
           ": the text contains the character " + code +
           ", which this system's character set cannot store.\r\n\r\n"
           "Nothing was written. Remove or replace that character and save again.";
}

std::string WriteFailedMessage(const std::string& path, const std::string& cause) {
    return std::string(identity::kAppTitle) + " could not save " + path + ": " + cause +
           "\r\n\r\nThe file was left as it was before.";
}

}  // namespace editor
