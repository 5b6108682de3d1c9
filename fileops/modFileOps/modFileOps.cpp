// modFileOps: the file services of fileops/ with the message boxes that tell the user why a
// file could not be read.
#include "fileops/modFileOps/modFileOps.h"

#include "base/identity/identity.h"
#include "toolkit/message_box.h"

namespace modFileOps {

namespace {

std::string WithThousands(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string ReadFileText(const std::string& path, ReadStatus* status, const TextRoom& room) {
    if (!FileExists(path)) {
        toolkit::MsgBox(std::string(identity::kAppTitle) + " was unable to find specified file",
                        toolkit::vbCritical, "Error");
        if (status != nullptr)
            *status = ReadStatus::NotFound;
        return "File " + path + " does not exist on system";
    }
    fileops::ReadResult read = fileops::ReadWholeFile(path, room);
    if (read.tooLarge) {
        const std::string size = read.sizeIsAtLeast
                                     ? "holds at least " + WithThousands(read.size) + " bytes"
                                     : "is " + WithThousands(read.size) + " bytes long";
        toolkit::MsgBox(std::string(identity::kAppTitle) + " cannot open " + path + ": the file " +
                            size + ", and its text would need more than the " +
                            WithThousands(room.capacity) +
                            " bytes that the text box can hold.\r\n\r\nThe file was not "
                            "opened and was left as it was.",
                        toolkit::vbCritical, "Error");
        if (status != nullptr)
            *status = ReadStatus::TooLarge;
        return std::string();
    }
    if (!read.ok) {
        // Say so: an unreadable file must not look empty, or a save would overwrite it.
        toolkit::MsgBox(std::string(identity::kAppTitle) + " was unable to read the file " + path +
                            ": " + read.cause,
                        toolkit::vbCritical, "Error");
        if (status != nullptr)
            *status = ReadStatus::Unreadable;
        return std::string();
    }
    if (status != nullptr)
        *status = ReadStatus::Ok;
    return std::move(read.bytes);
}

std::optional<std::string> WriteFileText(const std::string& path, const std::string& text,
                                         std::string* oldContentAt) {
    // Exactly the text, with no line end added: otherwise every open-and-save cycle would
    // lengthen the file by one line end.
    return fileops::ReplaceWholeFile(path, text, oldContentAt);
}

}  // namespace modFileOps
